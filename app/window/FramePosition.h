// The media tools' position line: where the current frame stands in the file and what kind
// of frame it is, "00:00:01.000 / 00:00:03.000, key frame (I)".
#pragma once
#include <cstdint>
#include <string>

struct TCurrentFrame;

// `duration` in microseconds; a negative one is unknown and shows as "?".
std::string FramePositionCaption(const TCurrentFrame& frame, std::int64_t duration);
