// Copies of sparse files: the holes of the source stay holes, so that a copy takes no more
// room than its source.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/FileSystem.h"
#include "support/Succeeded.h"
#include "support/TestVolume.h"

namespace {

constexpr off_t GiB = off_t{1} << 30;

// Writes `text` at `offset` of `path`.
void WriteAt(const std::string& path, off_t offset, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::pwrite(fd, text.data(), text.size(), offset), static_cast<ssize_t>(text.size()));
  ::close(fd);
}

std::string ReadAt(const std::string& path, off_t offset, std::size_t size) {
  std::string text(size, '\0');
  const int fd = ::open(path.c_str(), O_RDONLY);
  text.resize(fd < 0 ? 0 : static_cast<std::size_t>(std::max<ssize_t>(0, ::pread(fd, text.data(), size, offset))));
  if (fd >= 0) ::close(fd);
  return text;
}

TEST(StagedCopyTest, ASparseFileIsCopiedWithItsHoles) {
  // On ext4, which keeps holes but cannot share blocks: the copy itself must skip them.
  TestVolume volume(TVolumeKind::Ext4);
  if (!volume.Problem().empty()) GTEST_SKIP() << volume.Problem();
  const std::string source = (volume.Root() / "sparse.bin").string();
  const std::string target = (volume.Root() / "copy.bin").string();
  WriteAt(source, 0, "head");
  WriteAt(source, GiB / 2, "middle");
  ASSERT_EQ(::truncate(source.c_str(), 5 * GiB), 0);  // 5 GiB on a volume of 64 MiB
  ASSERT_TRUE(Succeeded(platform::CopyNoReplace(source, target)));
  struct stat copy {};
  ASSERT_EQ(::stat(target.c_str(), &copy), 0);
  EXPECT_EQ(copy.st_size, 5 * GiB);
  EXPECT_LT(copy.st_blocks * 512, 1 << 20) << "the holes were written out";
  EXPECT_EQ(ReadAt(target, 0, 4), "head");
  EXPECT_EQ(ReadAt(target, GiB / 2 - 2, 10), std::string(2, '\0') + "middle" + std::string(2, '\0'));
}

}  // namespace
