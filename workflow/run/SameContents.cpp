#include "workflow/run/SameContents.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RawFile.h"

namespace {

// Fills `block` as far as the file goes: the count read, -1 on a failed read.
std::int64_t ReadBlock(const platform::OwnedRawFile& file, std::vector<char>& block) {
  std::int64_t filled = 0;
  const auto size = static_cast<std::int64_t>(block.size());
  while (filled < size) {
    const std::int64_t got = platform::ReadRawFile(file.get(), block.data() + filled, size - filled);
    if (got < 0) return -1;
    if (got == 0) break;
    filled += got;
  }
  return filled;
}

}  // namespace

bool HoldSameBytes(const std::string& first, const std::string& second) {
  platform::FileStatus a;
  platform::FileStatus b;
  if (!platform::GetFileStatus(first, a) ||
      !platform::GetFileStatus(second, b) || !a.isRegularFile || !b.isRegularFile ||
      a.size != b.size)
    return false;
  // Through the platform layer, which takes the names as UTF-8 on every system.
  const platform::OwnedRawFile one(first, platform::FileAccess::Read);
  const platform::OwnedRawFile two(second, platform::FileAccess::Read);
  if (!one.valid() || !two.valid()) return false;
  constexpr std::int64_t BlockSize = 1 << 20;
  std::vector<char> blockOne(BlockSize);
  std::vector<char> blockTwo(BlockSize);
  for (;;) {
    const std::int64_t gotOne = ReadBlock(one, blockOne);
    const std::int64_t gotTwo = ReadBlock(two, blockTwo);
    if (gotOne < 0 || gotOne != gotTwo ||
        std::memcmp(blockOne.data(), blockTwo.data(), static_cast<std::size_t>(gotOne)) != 0)
      return false;
    if (gotOne < BlockSize) return true;
  }
}
