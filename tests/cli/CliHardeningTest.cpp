// morvane-cli under attack: names that look like addresses, copies onto later sources,
// signals and file-size limits in the middle of a copy, a process without /proc, and
// control characters on their way to the terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "FFLoad/FFLoad.h"
#include "platform/Text.h"
#include "support/MediaFactory.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string Stamp = "2014-10-10T20:11:25.000000Z";
const std::string StampName = "2014-10-10T20_11_25.000000Z";

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

using CliHardeningTest = CliTest;

TEST_F(CliHardeningTest, CopyKeepsALaterSourceThatHasAnEarlierTarget) {
  const std::string first = MakeFlac(folder / "a.m4a", Stamp, "first").string();
  const std::string second = MakeFlac(out / (StampName + ".m4a"), "2001-01-01", "second").string();
  const std::string secondContent = ReadWholeFile(second);
  const CliRun run = RunCliProcess({"copy", out.string(), first, second});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, first + "\t" + Stamp + "\t" + second + "\tfailed: target is another file of this copy\n" +
                         second + "\t2001-01-01\t" + (out / "2001-01-01.m4a").string() + "\tcopied\n");
  EXPECT_EQ(ReadWholeFile(second), secondContent);
  EXPECT_EQ(ReadWholeFile(out / "2001-01-01.m4a"), secondContent);
}

TEST_F(CliHardeningTest, RelativeNamesThatLookLikeAddressesAreFiles) {
  MakeFlac(folder / "10:20.m4a", "first");
  MakeFlac(folder / "concat:x.m4a", "second");
  MakeFlac(folder / "pipe:0", "third");
  CliOptions options;
  options.workingFolder = folder.path().string();
  const CliRun run = RunCliProcess({"list", "10:20.m4a", "concat:x.m4a", "pipe:0"}, MORVANE_CLI_PATH, options);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "10:20.m4a\tfirst\tfirst.m4a\nconcat:x.m4a\tsecond\tsecond.m4a\npipe:0\tthird\tthird\n");
}

// A copy that takes long enough to be interrupted: 512 MiB of data behind a small one.
class CliInterruptTest : public CliHardeningTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    MORVANE_NEEDS(Missing(TNeed::PosixSignals));
    CliHardeningTest::SetUp();
  }
};

TEST_P(CliInterruptTest, EndsWithTheDoneRowsAndNoPartialFile) {
  const std::string small = MakeFlac(folder / "small.flac", "small").string();
  const std::string large = MakeFlac(folder / "large.flac", "large").string();
  FillWithData(large, std::uintmax_t{512} << 20);
  const std::string last = MakeFlac(folder / "last.flac", "last").string();
  CliChild child({"copy", out.string(), small, large, last});
  ASSERT_TRUE(child.WaitForOutput("\tcopied\n"));
  child.Signal(GetParam());
  const CliRun run = child.Wait();
  EXPECT_EQ(run.status, 128 + GetParam());
  EXPECT_EQ(run.out, small + "\tsmall\t" + (out / "small.flac").string() + "\tcopied\n");
  EXPECT_EQ(Names(out), std::vector<std::string>{"small.flac"}) << "no partial file, no further row";
}

// Stepping backwards through a clip of 1,500 frames takes seconds: a stop after the first
// lines ends it with nothing more on either stream.
TEST_P(CliInterruptTest, FramesEndsAtTheStopWithoutFurtherLines) {
  const fs::path clip = folder / "long.mp4";
  ASSERT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=60", "-c:v", "mpeg4", "-g", "250",
                       clip.string()}),
            0);
  CliChild child({"frames", "--backward", clip.string()});
  ASSERT_TRUE(child.WaitForOutput("\n"));
  child.Signal(GetParam());
  const CliRun run = child.Wait();
  EXPECT_EQ(run.status, 128 + GetParam());
  EXPECT_LT(std::count(run.out.begin(), run.out.end(), '\n'), 1500);
  EXPECT_EQ(run.err, "");
}

// The lookup of a large file of zeros reads for seconds; the stop ends it, and the file
// it cut short gets no row.
TEST_P(CliInterruptTest, AStopDuringALookupEndsItWithoutARow) {
  const std::string zeros = (folder / "zeros.mp3").string();
  folder.WriteFile("zeros.mp3", "");
  fs::resize_file(zeros, 1LL << 30);
  CliChild child({"list", zeros});
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  child.Signal(GetParam());
  const CliRun run = child.Wait();
  EXPECT_EQ(run.status, 128 + GetParam());
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(Signals, CliInterruptTest, ::testing::Values(SIGINT, SIGTERM));

TEST_F(CliHardeningTest, AnInterruptedCopyOfManyFilesLeavesOnlyWholeCopiesAndNoTemporaryFile) {
  MORVANE_NEEDS(Missing(TNeed::PosixSignals));
  // 40 clips of 32 MiB that differ in their last bytes: several batches of copies.
  const fs::path clip = MakeFlac(folder / "clip.flac", Stamp);
  std::vector<std::string> arguments = {"copy", "--unique", "-j", "2", out.string()};
  constexpr int Count = 40;
  for (int index = 0; index < Count; ++index) {
    const fs::path file = folder / ("clip" + std::to_string(index) + ".flac");
    fs::copy_file(clip, file);
    FillWithData(file, std::uintmax_t{32} << 20);
    std::ofstream(file, std::ios::app) << index;
    arguments.push_back(file.string());
  }
  CliChild child(arguments);
  ASSERT_TRUE(child.WaitForOutput("\tcopied\n"));
  child.Signal(SIGINT);
  const CliRun run = child.Wait();
  EXPECT_EQ(run.status, 128 + SIGINT);
  // Each reported copy is whole, and nothing else is in the folder: no half file, no
  // temporary file.
  std::vector<std::string> reported;
  for (std::size_t start = 0, end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = run.out.substr(start, end - start);
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    const std::size_t tab3 = line.find('\t', tab2 + 1);
    ASSERT_EQ(line.substr(tab3 + 1), "copied") << line;
    const fs::path target = line.substr(tab2 + 1, tab3 - tab2 - 1);
    EXPECT_EQ(ReadWholeFile(target), ReadWholeFile(line.substr(0, tab1))) << line;
    reported.push_back(target.filename().string());
  }
  std::sort(reported.begin(), reported.end());
  EXPECT_EQ(Names(out), reported);
  EXPECT_LT(reported.size(), std::size_t{Count}) << "the interrupt came before the end";
}

TEST_F(CliHardeningTest, AFileSizeLimitFailsTheRowInsteadOfEndingTheProcess) {
  MORVANE_NEEDS(Missing(TNeed::ResourceLimits));
  const std::string small = MakeFlac(folder / "small.flac", "small").string();
  const std::string large = MakeFlac(folder / "large.flac", "large").string();
  fs::resize_file(large, 8 << 20);
  CliOptions options;
  options.fileSizeLimit = 1 << 20;
  const CliRun run = RunCliProcess({"copy", out.string(), large, small}, MORVANE_CLI_PATH, options);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, large + "\tlarge\t" + (out / "large.flac").string() + "\tfailed: File too large\n" + small +
                         "\tsmall\t" + (out / "small.flac").string() + "\tcopied\n");
  EXPECT_EQ(Names(out), std::vector<std::string>{"small.flac"});
}

TEST_F(CliHardeningTest, ControlCharactersOfANameReachTheTerminalAsBlanks) {
  MORVANE_NEEDS(Missing(TNeed::PosixNames));
  const std::string file = MakeFlac(folder / "a\x1b[2J\x07\x7f.flac", "x").string();
  const CliRun run = RunCliProcess({"list", file});
  EXPECT_EQ(run.out, PathOf("a [2J  .flac") + "\tx\t" + PathOf("x.flac") + "\n");
}

// Without /proc the program cannot find its own folder; a "LibAV" folder in the working
// folder must not be taken for it, by the renaming commands nor by the inspection ones.
// Needs a private mount namespace (root).
TEST_F(CliHardeningTest, WithoutItsOwnFolderTheProgramIgnoresTheWorkingFoldersLibraries) {
  MORVANE_NEEDS(Missing(TNeed::MountNamespaces));
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizer runtime itself cannot run without /proc";
#endif
  if (std::system("unshare -m --propagation private true 2>/dev/null") != 0)
    GTEST_SKIP() << "no private mount namespace here";
  const std::string library = "LibAV/" + platform::WideToNarrow(FFLoader().LibraryFileName(liAVCodec));
  fs::create_directory(folder / "LibAV");
  folder.WriteFile(library, "not a library");
  MakeFlac(folder / "a.flac", "x");
  const auto runWithoutProc = [&](const std::string& command) {
    const std::string script = "umount -l /proc && cd '" + folder.path().string() + "' && exec '" +
                               std::string(MORVANE_CLI_PATH) + "' " + command + " a.flac";
    return RunCliProcess({"-m", "--propagation", "private", "sh", "-c", script}, "/usr/bin/unshare");
  };
  const CliRun list = runWithoutProc("list");
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, "a.flac\tx\tx.flac\n");
  const CliRun streams = runWithoutProc("streams");
  EXPECT_EQ(streams.status, 0) << streams.err;
  EXPECT_THAT(streams.out, HasSubstr("Audio"));
}

}  // namespace
