#include "workflow/dates/ZoneFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

#include <cctz/zone_info_source.h>

#include "platform/AppendFile.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

namespace {

constexpr std::size_t HeaderBytes = 44;  // "TZif", version, 15 reserved, six counts

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t index = 0; index < 4; ++index) value = (value << 8) | static_cast<unsigned char>(bytes[at + index]);
  return value;
}

// The length of the data block after the header at `at`, with times of `timeBytes` each.
std::uint64_t BlockBytes(std::string_view bytes, std::size_t at, std::uint64_t timeBytes) {
  const std::uint64_t isUtc = BigEndian32(bytes, at + 20), isStd = BigEndian32(bytes, at + 24),
                      leaps = BigEndian32(bytes, at + 28), times = BigEndian32(bytes, at + 32),
                      types = BigEndian32(bytes, at + 36), chars = BigEndian32(bytes, at + 40);
  return times * (timeBytes + 1) + types * 6 + chars + leaps * (timeBytes + 4) + isStd + isUtc;
}

// A zone file held in memory, as the zone library reads it.
class TMemoryZoneSource : public cctz::ZoneInfoSource {
 public:
  explicit TMemoryZoneSource(std::string bytes) : Bytes_(std::move(bytes)) {}
  std::size_t Read(void* target, std::size_t size) override {
    const std::size_t count = std::min(size, Bytes_.size() - At_);
    std::memcpy(target, Bytes_.data() + At_, count);
    At_ += count;
    return count;
  }
  int Skip(std::size_t offset) override {
    if (offset > Bytes_.size() - At_) return -1;
    At_ += offset;
    return 0;
  }

 private:
  std::string Bytes_;
  std::size_t At_ = 0;
};

// The zone library's own search: "file:" or an absolute path as given, else the name below
// TZDIR or the zone folder.
std::string ZonePath(std::string name) {
  if (name.starts_with("file:")) name.erase(0, 5);
  if (platform::IsAbsolutePath(name)) return name;
  return platform::ZoneRulesFolder() + "/" + name;
}

std::unique_ptr<cctz::ZoneInfoSource> BoundedZoneSource(
    const std::string& name, const std::function<std::unique_ptr<cctz::ZoneInfoSource>(const std::string&)>&) {
  std::string bytes;
  if (!ReadZoneFile(ZonePath(name), bytes)) return nullptr;
  return std::make_unique<TMemoryZoneSource>(std::move(bytes));
}

}  // namespace

std::string ZoneFileProblem(std::string_view bytes) {
  if (bytes.size() < HeaderBytes || bytes.substr(0, 4) != "TZif") return "not a zone file";
  const std::uint64_t first = HeaderBytes + BlockBytes(bytes, 0, 4);
  if (first > bytes.size()) return "the zone file asks for more data than it holds";
  if (bytes[4] == '\0') return {};
  // Version 2 and later repeat the data with 64-bit times after a second header.
  if (bytes.size() - first < HeaderBytes || bytes.substr(first, 4) != "TZif") return "not a zone file";
  if (HeaderBytes + BlockBytes(bytes, first, 8) > bytes.size() - first)
    return "the zone file asks for more data than it holds";
  return {};
}

TResult ReadZoneFile(const std::string& path, std::string& bytes) {
  platform::FileStatus status;
  if (platform::GetFileStatus(path, status) && !status.isRegularFile)
    return {TResultKind::Failed, "not a regular file"};
  // The read itself never waits either, should the path change in between.
  if (TResult read = platform::ReadWholeFile(path, bytes, MaxZoneFileBytes); !read) return read;
  if (std::string problem = ZoneFileProblem(bytes); !problem.empty()) return {TResultKind::Failed, std::move(problem)};
  return {};
}

void ReadZoneFilesWithBounds() {
  static std::once_flag installed;
  std::call_once(installed, [] { cctz_extension::zone_info_source_factory = &BoundedZoneSource; });
}
