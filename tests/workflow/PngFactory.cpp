#include "workflow/PngFactory.h"

#include <fstream>

#include "support/MediaFactory.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (const unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
  }
  return ~crc;
}

std::string BigEndian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

}  // namespace

std::string PngChunk(const std::string& type, const std::string& data) {
  return BigEndian(static_cast<std::uint32_t>(data.size())) + type + data + BigEndian(Crc32(type + data));
}

std::string PngTimeChunk(int year, int month, int day, int hour, int minute, int second) {
  return PngChunk("tIME", {static_cast<char>(year >> 8), static_cast<char>(year & 0xFF), static_cast<char>(month),
                           static_cast<char>(day), static_cast<char>(hour), static_cast<char>(minute),
                           static_cast<char>(second)});
}

fs::path MakePng(const fs::path& output) {
  MediaSpec spec;
  spec.extra = {"-frames:v", "1"};
  return MakeMedia(output, spec);
}

PngBytes MakePngBytes(const fs::path& scratch) {
  const std::string bytes = ReadWholeFile(MakePng(scratch));
  const std::string end = PngChunk("IEND", "");
  const std::size_t at = bytes.rfind(end);
  if (at == std::string::npos || at + end.size() != bytes.size()) return {bytes, ""};
  return {bytes.substr(0, at), end};
}

fs::path MakePngWithTime(const fs::path& output, int year, int month, int day, int hour, int minute, int second) {
  std::string bytes = ReadWholeFile(MakePng(output));
  bytes.insert(PngAfterHeader, PngTimeChunk(year, month, day, hour, minute, second));
  std::ofstream(output, std::ios::binary | std::ios::trunc) << bytes;
  return output;
}
