// The inspector's report of an open file: its size and duration, then a few lines for each
// video and audio stream. The window's log view and morvane-cli show the same lines.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TCustomDecoder;

// "%.2d:%.2d:%.2d.%.3d" of a time in microseconds, by truncating division; hours are not
// wrapped at 24.
std::string PositionText(std::int64_t microseconds);

// From "File Size:" to the last stream line; needs an open file.
std::vector<std::string> StreamReportLines(TCustomDecoder& decoder);
