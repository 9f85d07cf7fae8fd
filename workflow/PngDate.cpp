#include "workflow/PngDate.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "platform/RawFile.h"
#include "platform/Text.h"
#include "workflow/CreationTime.h"

namespace {

constexpr std::array<unsigned char, 8> Signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Reads the file from its start, exactly as many bytes as asked for.
class TOpenFile {
 public:
  explicit TOpenFile(const std::string& fileName)
      : File_(platform::NarrowToWide(fileName), platform::FileAccess::Read) {}

  bool Read(unsigned char* buffer, std::int64_t size) {
    return File_.valid() && platform::ReadRawFile(File_.get(), buffer, size) == size;
  }
  bool Skip(std::int64_t size) { return File_.valid() && platform::SeekRawFile(File_.get(), size, 1) >= 0; }

 private:
  platform::OwnedRawFile File_;
};

std::uint32_t BigEndian32(const unsigned char* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

}  // namespace

std::optional<TFileDate> ReadPngDate(const std::string& fileName) {
  TOpenFile file(fileName);
  std::array<unsigned char, 8> start{};
  if (!file.Read(start.data(), start.size()) || start != Signature) return std::nullopt;
  // The chunk may stand anywhere before the image data; the walk stops there.
  for (;;) {
    unsigned char header[8];
    if (!file.Read(header, sizeof header)) return std::nullopt;
    const std::uint32_t length = BigEndian32(header);
    const std::string type(reinterpret_cast<const char*>(header + 4), 4);
    if (type == "IDAT" || type == "IEND" || length > 0x7FFFFFFF) return std::nullopt;
    if (type != "tIME" || length != 7) {
      if (!file.Skip(std::int64_t{length} + 4)) return std::nullopt;
      continue;
    }
    unsigned char time[7];
    if (!file.Read(time, sizeof time)) return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", unsigned{time[0]} << 8 | time[1], time[2],
                  time[3], time[4], time[5], time[6]);
    if (!ParseCreationTime(text)) return std::nullopt;
    return TFileDate{"PNG tIME", text};
  }
}
