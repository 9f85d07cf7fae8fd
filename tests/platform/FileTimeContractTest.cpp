// A file's modification time as the platform layer sets and reads it (FileSystem.h): whole
// seconds since 1970 and the nanoseconds into that second, the fraction counting forward
// also before 1970, and the access time left as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <ostream>
#include <string>

#include "platform/FileSystem.h"
#include "support/FileTimes.h"
#include "support/Succeeded.h"
#include "support/TempFolder.h"

namespace {

struct TimeCase {
  const char* name;
  std::int64_t microseconds;  // since 1970
  platform::FileTime kept;
};
void PrintTo(const TimeCase& time, std::ostream* out) { *out << time.name; }

class FileTimeContract : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FileTimeContract, ATimeSetIsReadBackWhole) {
  const TempFolder folder;
  const std::string file = Utf8(folder.WriteFile("clip ü 🎥.mp4", "clip"));
  ASSERT_TRUE(Succeeded(platform::SetModificationTime(file, GetParam().microseconds)));
  platform::FileStatus status;
  ASSERT_TRUE(platform::GetFileStatus(file, status));
  EXPECT_EQ(status.modified.seconds, GetParam().kept.seconds);
  EXPECT_EQ(status.modified.nanoseconds, GetParam().kept.nanoseconds);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, FileTimeContract,
    ::testing::Values(TimeCase{"AFraction", 1572690030123456, {1572690030, 123456000}},  // 2019-11-02T10:20:30.123456Z
                      TimeCase{"AFractionBefore1970", -500000, {-1, 500000000}}),     // 1969-12-31T23:59:59.5Z
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileTimeContractTest, SettingTheModificationTimeLeavesTheAccessTime) {
  const TempFolder folder;
  const auto file = folder.WriteFile("clip.mp4", "clip");
  // 2001-02-03T04:05:06Z and 2002-02-03T04:05:06Z, in nanoseconds.
  ASSERT_TRUE(SetFileTimes(file, {981173106000000000, 1012709106000000000}));
  ASSERT_TRUE(Succeeded(platform::SetModificationTime(Utf8(file), 1572690030000000)));
  const FileTimes times = FileTimesOf(file);
  EXPECT_EQ(times.accessed, 981173106000000000);
  EXPECT_EQ(times.modified, 1572690030000000000);
}

TEST(FileTimeContractTest, AMissingFileIsRefusedWithTheSystemsMessage) {
  const TempFolder folder;
  const TResult set = platform::SetModificationTime(Utf8(folder / "missing.mp4"), 0);
  EXPECT_FALSE(set);
  EXPECT_EQ(set.Message(), platform::ErrorText(ENOENT));
}

}  // namespace
