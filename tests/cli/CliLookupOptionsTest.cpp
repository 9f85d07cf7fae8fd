// morvane-cli's lookup options: -j/--jobs and --full-probe change the speed, never the output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliProcess.h"
#include "support/LookupMedia.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Arguments = std::vector<std::string>;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";

Arguments With(Arguments arguments, const std::vector<std::string>& files) {
  arguments.insert(arguments.end(), files.begin(), files.end());
  return arguments;
}

TEST(CliLookupOptionsTest, EveryWayOfReadingGivesByteIdenticalListOutput) {
  TempFolder folder;
  const std::vector<std::string> files = MakeLookupMedia(folder.path());
  const CliRun reference = RunCliProcess(With({"list", "--full-probe", "-j", "1"}, files));
  // The media holds files that cannot be read; they are named on standard error.
  ASSERT_EQ(reference.status, 1) << reference.err;
  EXPECT_THAT(reference.err, HasSubstr("garbage.mp4"));
  // The FLV file's creation time is there: the default path probed it when its header
  // had none.
  EXPECT_THAT(reference.out, HasSubstr(PacketMetadataFile(folder.path()) + "\t" + Stamp + "\t"));
  for (const Arguments& options : {Arguments{"list"}, Arguments{"list", "--full-probe"}, Arguments{"list", "-j", "1"},
                                   Arguments{"list", "-j", "8"}, Arguments{"list", "--jobs=2", "--full-probe"},
                                   Arguments{"list", "-j3"}, Arguments{"list", "--jobs", "8", "--full-probe"}}) {
    const CliRun run = RunCliProcess(With(options, files));
    EXPECT_EQ(run.status, reference.status) << ::testing::PrintToString(options);
    EXPECT_EQ(run.out, reference.out) << ::testing::PrintToString(options);
    EXPECT_EQ(run.err, reference.err) << ::testing::PrintToString(options);
  }
}

TEST(CliLookupOptionsTest, RenameAndCopyOnWorkersActInArgumentOrder) {
  TempFolder folder;
  // Same creation time twice: the first file in argument order takes the name.
  const std::string first = MakeMediaWithCreationTime(folder / "z.mp4", Stamp).string();
  const std::string second = MakeMediaWithCreationTime(folder / "a.mov", "2016-01-01T00:00:00.000000Z").string();
  const std::string third = MakeMediaWithCreationTime(folder / "b.mp4", Stamp).string();
  fs::create_directory(folder / "out");

  const CliRun copy = RunCliProcess({"copy", "-j", "4", (folder / "out").string(), first, second, third});
  EXPECT_EQ(copy.status, 0);
  const std::string target = (folder / "out" / "2015-06-01T10_20_30.000000Z.mp4").string();
  EXPECT_EQ(copy.out, first + "\t" + Stamp + "\t" + target + "\tcopied\n" + second +
                          "\t2016-01-01T00:00:00.000000Z\t" + (folder / "out" / "2016-01-01T00_00_00.000000Z.mov").string() +
                          "\tcopied\n" + third + "\t" + Stamp + "\t" + target + "\tskipped: same as " + first + "\n");
  EXPECT_EQ(ReadWholeFile(target), ReadWholeFile(first));

  const CliRun rename = RunCliProcess({"rename", "--jobs", "4", first, second, third});
  EXPECT_EQ(rename.status, 1);
  EXPECT_THAT(rename.out, StartsWith(first + "\t" + Stamp + "\t" + (folder / "2015-06-01T10_20_30.000000Z.mp4").string() +
                                     "\trenamed\n"));
  EXPECT_TRUE(fs::exists(third));
  EXPECT_FALSE(fs::exists(first));
}

class CliBadLookupOptionTest : public ::testing::TestWithParam<Arguments> {};

TEST_P(CliBadLookupOptionTest, IsAUsageError) {
  TempFolder folder;
  const std::string file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const CliRun run = RunCliProcess(With(GetParam(), {file}));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_THAT(run.err, StartsWith("morvane-cli: "));
  EXPECT_TRUE(fs::exists(file));
}

INSTANTIATE_TEST_SUITE_P(Options, CliBadLookupOptionTest,
                         ::testing::Values(Arguments{"list", "-j", "0"}, Arguments{"list", "-j", "x"},
                                           Arguments{"rename", "--jobs=-2"}, Arguments{"list", "-j", "3x"},
                                           Arguments{"list", "-j1025"}, Arguments{"rename", "--jobs="}));

TEST(CliLookupOptionsTest, AJobsOptionWithoutItsNumberIsAUsageError) {
  const CliRun run = RunCliProcess({"list", "-j"});
  EXPECT_EQ(run.status, 2);
  EXPECT_THAT(run.err, HasSubstr("-j needs a number"));
}

TEST(CliLookupOptionsTest, OptionsMayFollowTheFilesButNotTheEndOfOptions) {
  TempFolder folder;
  const std::string file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::string line = file + "\t" + Stamp + "\t" + (folder / "2015-06-01T10_20_30.000000Z.mp4").string() + "\n";
  const CliRun after = RunCliProcess({"list", file, "-j", "2", "--full-probe"});
  EXPECT_EQ(after.status, 0);
  EXPECT_EQ(after.out, line);
  // Behind "--", "-j" is a file name like any other (and there is no such file).
  const CliRun ended = RunCliProcess({"list", "--", file, "-j"});
  EXPECT_EQ(ended.status, 1);
  EXPECT_EQ(ended.out, line + "-j\t\t\n");
  // info takes no lookup options.
  EXPECT_EQ(RunCliProcess({"info", "-j", "2", file}).status, 2);
}

TEST(CliLookupOptionsTest, HelpDescribesTheOptions) {
  const CliRun run = RunCliProcess({"--help"});
  for (const char* part : {"-j N, --jobs N     list, rename and copy", "--full-probe       list, rename and copy"})
    EXPECT_THAT(run.out, HasSubstr(part));
}

}  // namespace
