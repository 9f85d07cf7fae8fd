// Clips for the frame decoder, made at test time with the ffmpeg command, and what the
// libraries' own tools say about them.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

// 3 seconds of 25 fps H.264 at 160x120, a key frame every 25 frames, two B-frames between
// references, in MP4.
std::filesystem::path MakeH264Clip(const std::filesystem::path& output);
// The same pictures in MPEG-TS, whose timestamps start at 10 seconds and more.
std::filesystem::path MakeTransportStreamClip(const std::filesystem::path& output);
// A one-second clip of `codec` in `pixelFormat` at width x height (Matroska).
std::filesystem::path MakePictureFormatClip(const std::filesystem::path& output, const std::string& codec,
                                            const std::string& pixelFormat, int width, int height);
// A one-frame testsrc clip of width x height (MP4, H.264 without chroma subsampling) whose
// video stream carries a display matrix from the stream tag rotate=`rotate`: the libraries'
// own tool shows it turned.
std::filesystem::path MakeTurnedClip(const std::filesystem::path& output, int width, int height, int rotate);

// One line per frame of the first video stream as ffprobe decodes it: "K" or "-", a tab,
// the picture type letter.
std::vector<std::string> ProbeFrames(const std::filesystem::path& file);
// The first frame of the file converted by the ffmpeg command to raw BGRA at its size.
std::string FirstFrameAsBgra(const std::filesystem::path& file);
