// PNG files made at test time: a picture written by ffmpeg, and chunks built byte by byte
// to put into it, as other writers place them.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

// A whole chunk: length, type, data and the CRC over type and data.
std::string PngChunk(const std::string& type, const std::string& data);
// A tIME chunk holding these fields as they are (a month 13 is written as 13).
std::string PngTimeChunk(int year, int month, int day, int hour, int minute, int second);

// A 64x48 PNG of one frame. Fails the current test when ffmpeg fails.
std::filesystem::path MakePng(const std::filesystem::path& output);
// Where the header chunk ends: other chunks may follow it from there.
inline constexpr std::size_t PngAfterHeader = 8 + 4 + 4 + 13 + 4;

// The bytes of MakePng's picture (made at `scratch`) cut before its closing IEND chunk:
// signature, header and image data. Chunks that follow the image data go after them.
struct PngBytes {
  std::string Image;
  std::string End;  // the IEND chunk
};
PngBytes MakePngBytes(const std::filesystem::path& scratch);

// MakePng with a tIME chunk put in right after its header chunk.
std::filesystem::path MakePngWithTime(const std::filesystem::path& output, int year, int month, int day, int hour,
                                      int minute, int second);
