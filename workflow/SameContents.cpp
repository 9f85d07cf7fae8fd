#include "workflow/SameContents.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Text.h"

bool HoldSameBytes(const std::string& first, const std::string& second) {
  platform::FileStatus a;
  platform::FileStatus b;
  if (!platform::GetFileStatus(platform::NarrowToWide(first), a) ||
      !platform::GetFileStatus(platform::NarrowToWide(second), b) || !a.isRegularFile || !b.isRegularFile ||
      a.size != b.size)
    return false;
  std::ifstream one(first, std::ios::binary);
  std::ifstream two(second, std::ios::binary);
  if (!one || !two) return false;
  constexpr std::size_t BlockSize = 1 << 20;
  std::vector<char> blockOne(BlockSize);
  std::vector<char> blockTwo(BlockSize);
  for (;;) {
    one.read(blockOne.data(), BlockSize);
    two.read(blockTwo.data(), BlockSize);
    const std::streamsize gotOne = one.gcount();
    if (gotOne != two.gcount() || std::memcmp(blockOne.data(), blockTwo.data(), static_cast<std::size_t>(gotOne)) != 0)
      return false;
    if (gotOne < static_cast<std::streamsize>(BlockSize)) return one.eof() && two.eof();
  }
}
