#include "workflow/dates/PngDate.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/RawFile.h"
#include "workflow/dates/CreationTime.h"

namespace {

constexpr std::array<unsigned char, 8> Signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// A chunk: length (4 bytes), type (4), data, CRC (4) over type and data.
constexpr std::size_t HeaderBytes = 8;
constexpr std::uint32_t TimeBytes = 7;
constexpr std::size_t BlockBytes = 64 * 1024;

// Reads the file in whole blocks and hands out its bytes in order: one system call per
// block, not one per chunk header. Every block read looks at the stop flag first.
class TBlockReader {
 public:
  TBlockReader(const std::string& fileName, const std::atomic<bool>* stop)
      : File_(fileName, platform::FileAccess::Read), Stop_(stop), Block_(BlockBytes) {}

  bool Valid() const { return File_.valid(); }
  bool Stopped() const { return Stop_ && Stop_->load(); }
  std::int64_t Size() const { return platform::RawFileSize(File_.get()); }
  // Where the next byte handed out stands in the file.
  std::int64_t Position() const { return BlockStart_ + static_cast<std::int64_t>(At_); }

  // Exactly `size` bytes, or false (end of file, failed read, stop).
  bool Read(unsigned char* out, std::size_t size) {
    while (size > 0) {
      if (At_ == End_ && !Fill()) return false;
      const std::size_t taken = std::min(size, End_ - At_);
      std::memcpy(out, Block_.data() + At_, taken);
      At_ += taken;
      out += taken;
      size -= taken;
    }
    return true;
  }
  // Moves on by `size` bytes: within the block without a call, else by one seek.
  bool Skip(std::int64_t size) {
    if (size <= static_cast<std::int64_t>(End_ - At_)) {
      At_ += static_cast<std::size_t>(size);
      return true;
    }
    return SeekTo(Position() + size);
  }
  bool SeekTo(std::int64_t position) {
    if (platform::SeekRawFile(File_.get(), position, 0) != position) return false;
    BlockStart_ = position;
    At_ = End_ = 0;
    return true;
  }

 private:
  bool Fill() {
    if (Stopped()) return false;
    BlockStart_ += static_cast<std::int64_t>(End_);
    At_ = End_ = 0;
    const std::int64_t got = platform::ReadRawFile(File_.get(), Block_.data(), static_cast<std::int64_t>(Block_.size()));
    if (got <= 0) return false;
    End_ = static_cast<std::size_t>(got);
    return true;
  }

  platform::OwnedRawFile File_;
  const std::atomic<bool>* Stop_;
  std::vector<unsigned char> Block_;
  std::int64_t BlockStart_ = 0;  // file position of Block_[0]
  std::size_t At_ = 0;
  std::size_t End_ = 0;
};

std::uint32_t BigEndian32(const unsigned char* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

std::uint32_t Crc32(const unsigned char* bytes, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t index = 0; index < size; ++index) {
    crc ^= bytes[index];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
  }
  return ~crc;
}

// Chunk types are four ASCII letters; anything else (a run of zeros in a damaged or
// sparse file) means the chunks cannot be walked any further.
bool IsChunkType(const unsigned char* type) {
  return std::all_of(type, type + 4, [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

std::optional<TFileDate> DateOfTime(const unsigned char* time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", unsigned{time[0]} << 8 | time[1], time[2],
                time[3], time[4], time[5], time[6]);
  std::optional<TCreationTime> parsed = ParseCreationTime(text);
  if (!parsed) return std::nullopt;
  return TFileDate{"PNG tIME", text, parsed};
}

// The tail holds no chunk boundary to start a walk from: a tIME chunk there is known by
// its length, its type and a CRC that matches, which compressed image data does not fake.
std::optional<TFileDate> TimeInTail(TBlockReader& file, std::int64_t from) {
  const std::int64_t size = file.Size();
  const std::int64_t start = std::max(from, size - PngTailBytes);
  if (size < 0 || start >= size || !file.SeekTo(start)) return std::nullopt;
  std::vector<unsigned char> tail(static_cast<std::size_t>(size - start));
  if (!file.Read(tail.data(), tail.size())) return std::nullopt;
  constexpr unsigned char Header[HeaderBytes] = {0, 0, 0, TimeBytes, 't', 'I', 'M', 'E'};
  constexpr std::size_t ChunkBytes = HeaderBytes + TimeBytes + 4;
  for (auto at = tail.begin(); tail.end() - at >= static_cast<std::ptrdiff_t>(ChunkBytes); ++at) {
    at = std::search(at, tail.end(), std::begin(Header), std::end(Header));
    if (tail.end() - at < static_cast<std::ptrdiff_t>(ChunkBytes)) break;
    const unsigned char* chunk = &*at;
    if (Crc32(chunk + 4, 4 + TimeBytes) == BigEndian32(chunk + HeaderBytes + TimeBytes))
      return DateOfTime(chunk + HeaderBytes);
  }
  return std::nullopt;
}

}  // namespace

std::optional<TFileDate> ReadPngDate(const std::string& fileName, const std::atomic<bool>* stop) {
  TBlockReader file(fileName, stop);
  std::array<unsigned char, Signature.size()> start{};
  if (!file.Valid() || !file.Read(start.data(), start.size()) || start != Signature) return std::nullopt;
  for (;;) {
    if (file.Stopped()) return std::nullopt;
    unsigned char header[HeaderBytes];
    if (!file.Read(header, sizeof header)) return std::nullopt;
    const std::uint32_t length = BigEndian32(header);
    const unsigned char* type = header + 4;
    if (!IsChunkType(type) || length > 0x7FFFFFFF || std::memcmp(type, "IEND", 4) == 0) return std::nullopt;
    if (std::memcmp(type, "IDAT", 4) == 0) return TimeInTail(file, file.Position());
    if (std::memcmp(type, "tIME", 4) != 0 || length != TimeBytes) {
      if (!file.Skip(std::int64_t{length} + 4)) return std::nullopt;
      continue;
    }
    unsigned char time[TimeBytes];
    if (!file.Read(time, sizeof time)) return std::nullopt;
    return DateOfTime(time);
  }
}
