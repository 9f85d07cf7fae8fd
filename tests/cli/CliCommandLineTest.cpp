// The rules of morvane-cli's command line that every command shares: bundled short
// options, "COMMAND --help", "--" as the end of the options, and diagnostics that begin
// with the program's name and show no control character raw.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Arguments = std::vector<std::string>;
using CliCommandLineTest = CliTest;

TEST_F(CliCommandLineTest, ShortOptionsBundle) {
  fs::create_directories(folder / "clips" / "deep");
  MakeFlac(folder / "clips" / "deep" / "a.flac", "one");
  MakeFlac(folder / "clips" / "b.flac", "two");
  const CliRun apart = RunCliProcess({"list", "-r", "-j", "2", PathOf("clips")});
  ASSERT_EQ(apart.status, 0) << apart.err;
  ASSERT_NE(apart.out, "");
  EXPECT_EQ(RunCliProcess({"list", "-rj2", PathOf("clips")}).out, apart.out);

  const auto before = Snapshot(folder.path());
  const CliRun dryRun = RunCliProcess({"rename", "-nr", PathOf("clips")});
  EXPECT_EQ(dryRun.status, 0) << dryRun.err;
  EXPECT_THAT(dryRun.out, HasSubstr("\twould rename\n"));
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliCommandLineTest, CommandHelpShowsThatCommandsUsageAndDoesNothingElse) {
  const std::string file = MakeFlac(folder / "a.flac", "one").string();
  const auto before = Snapshot(folder.path());
  for (const char* command : {"list", "rename", "copy", "info", "undo", "streams", "frames", "frame"}) {
    for (const char* help : {"--help", "-h"}) {
      const CliRun run = RunCliProcess({command, help, file});
      EXPECT_EQ(run.status, 0) << command << ' ' << help;
      EXPECT_EQ(run.err, "") << command << ' ' << help;
      EXPECT_THAT(run.out, StartsWith(std::string("Usage: morvane-cli ") + command + " [")) << command;
    }
  }
  EXPECT_THAT(RunCliProcess({"frames", "--help"}).out, HasSubstr("--backward"));
  EXPECT_THAT(RunCliProcess({"undo", "--help"}).out, HasSubstr("--list"));
  EXPECT_EQ(Snapshot(folder.path()), before);
}

// Behind "--" an argument that looks like an option is an operand, for every command.
TEST_F(CliCommandLineTest, DoubleDashEndsTheOptionsOfEveryCommand) {
  for (const Arguments& arguments : {Arguments{"info", "-x"}, Arguments{"streams", "-x"}, Arguments{"frames", "-x"},
                                     Arguments{"frame", "-x", "0", "out.bmp"}, Arguments{"list", "-x"}}) {
    Arguments ended = arguments;
    ended.insert(ended.begin() + 1, "--");
    const CliRun option = RunCliProcess(arguments);
    EXPECT_EQ(option.status, 2) << arguments.front();
    EXPECT_THAT(option.err, HasSubstr("unknown option '-x'")) << arguments.front();
    const CliRun operand = RunCliProcess(ended);
    EXPECT_EQ(operand.status, 1) << arguments.front();
    EXPECT_THAT(operand.err, HasSubstr("morvane-cli: -x: ")) << arguments.front();
  }
  // A RUN that names no run is a usage error.
  const CliRun undo = RunCliProcess({"undo", "--", "--list"});
  EXPECT_EQ(undo.status, 2);
  EXPECT_THAT(undo.err, HasSubstr("no run '--list'"));
}

TEST_F(CliCommandLineTest, DiagnosticsNameTheProgramAndBlankControlCharacters) {
  MORVANE_NEEDS(Missing(TNeed::PosixNames));
  const std::string missing = PathOf("a\x1b[2J.mp4");
  const std::string shown = PathOf("a [2J.mp4");
  CliRun run = RunCliProcess({"info", missing});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "morvane-cli: " + shown + ": No such file or directory\n");

  run = RunCliProcess({"copy", missing, MakeFlac(folder / "b.flac", "two").string()});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.err, "morvane-cli: " + shown + ": No such file or directory\n");

  run = RunCliProcess({"list", "--tz", "Mars/\x1b[2J", "x.mp4"});
  EXPECT_EQ(run.status, 2);
  EXPECT_THAT(run.err, StartsWith("morvane-cli: "));
  EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
}

}  // namespace
