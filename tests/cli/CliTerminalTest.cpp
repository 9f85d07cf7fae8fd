// morvane-cli in a shell: standard output and error on one pseudo-terminal, read back as
// the lines the terminal shows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "platform/Environment.h"
#include "support/ScopedEnvVar.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string Unset = "1970-01-01T00:00:00.000000Z";
const std::string UnsetName = "1970-01-01T00_00_00.000000Z";

CliOptions InATerminal() {
  CliOptions options;
  options.bothOnTerminal = true;
  return options;
}

using CliTerminalTest = CliTest;

TEST_F(CliTerminalTest, RowsStartOnCleanLinesEachWithItsWarningAndTheRunEndsWithASummary) {
  const std::string dated = MakeFlac(folder / "a.flac", "2015-06-01").string();
  const std::string unset = MakeFlac(folder / "b.flac", Unset).string();
  const std::string missing = PathOf("gone.flac");
  const CliRun run = RunCliProcess({"rename", dated, unset, missing}, MORVANE_CLI_PATH, InATerminal());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(ScreenLines(run.terminal),
            (Lines{dated + "\t2015-06-01\t" + PathOf("2015-06-01.flac") + "\trenamed",
                   unset + "\t" + Unset + "\t" + PathOf(UnsetName + ".flac") + "\trenamed (date looks unset)",
                   "morvane-cli: " + unset + ": date looks unset: " + Unset,
                   missing + "\t\t\tskipped: file not found", "2 renamed, 1 skipped, 0 failed"}))
      << run.terminal;
  EXPECT_THAT(run.terminal, ::testing::HasSubstr("Renaming 3 of 3")) << "the progress showed on the way";

  const CliRun list = RunCliProcess({"list", PathOf(UnsetName + ".flac")}, MORVANE_CLI_PATH, InATerminal());
  EXPECT_EQ(ScreenLines(list.terminal),
            (Lines{PathOf(UnsetName + ".flac") + "\t" + Unset + "\t" + PathOf(UnsetName + ".flac"),
                   "morvane-cli: " + PathOf(UnsetName + ".flac") + ": date looks unset: " + Unset}));
}

TEST_F(CliTerminalTest, WithoutAFolderForTheUndoJournalARenameSaysSoBeforeItRenames) {
  const std::string clip = MakeFlac(folder / "a.flac", "one").string();
  const ScopedEnvVar noState("XDG_STATE_HOME", nullptr);
  const ScopedEnvVar noHome("HOME", nullptr);
  const CliRun dry = RunCliProcess({"rename", "--dry-run", clip}, MORVANE_CLI_PATH, InATerminal());
  EXPECT_THAT(dry.terminal, ::testing::Not(::testing::HasSubstr("journal"))) << "a dry run journals nothing";

  const CliRun run = RunCliProcess({"rename", clip}, MORVANE_CLI_PATH, InATerminal());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ScreenLines(run.terminal),
            (Lines{"morvane-cli: undo journal not written: " + std::string(platform::NoUserStateFolder),
                   clip + "\tone\t" + PathOf("one.flac") + "\trenamed", "1 renamed, 0 skipped, 0 failed"}))
      << run.terminal;
}

// A card holding a clip twice, once with its sidecars: the copy of the second brings them,
// and the summary counts them beside the files.
TEST_F(CliTerminalTest, TheSummaryCountsTheCompanionsThatWentWithTheFiles) {
  fs::create_directories(folder / "card" / "Backup");
  fs::create_directories(folder / "card" / "DCIM");
  const std::string backup = MakeFlac(folder / "card" / "Backup" / "CLIP.flac", "one").string();
  const std::string clip = (folder / "card" / "DCIM" / "CLIP.flac").string();
  fs::copy_file(backup, clip);
  folder.WriteFile("card/DCIM/CLIP.THM", "thumbnail");
  folder.WriteFile("card/DCIM/CLIP.LRV", "low resolution");
  const CliRun run =
      RunCliProcess({"copy", "-r", out.string(), (folder / "card").string()}, MORVANE_CLI_PATH, InATerminal());
  EXPECT_EQ(run.status, 0);
  const std::vector<std::string> lines = ScreenLines(run.terminal);
  ASSERT_EQ(lines.size(), 3u) << run.terminal;
  EXPECT_EQ(lines[1], clip + "\tone\t" + (out / "one.flac").string() + "\tskipped: same as " + backup +
                          " (copied its companions CLIP.LRV, CLIP.THM)");
  EXPECT_THAT(lines[2], ::testing::MatchesRegex("1 copied \\(\\+2 companions\\) \\([0-9]+ KiB\\), 1 skipped, 0 failed"));
  EXPECT_EQ(ReadWholeFile(out / "one.THM"), "thumbnail");
}

TEST_F(CliTerminalTest, AnInterruptSaysHowFarTheRunGotAndNothingOfTheFilesNotReached) {
  const std::string small = MakeFlac(folder / "small.flac", "small").string();
  const std::string large = MakeFlac(folder / "large.flac", "large").string();
  FillWithData(large, std::uintmax_t{512} << 20);
  const std::string last = MakeFlac(folder / "last.flac", Unset).string();
  CliChild child({"copy", out.string(), small, large, last}, MORVANE_CLI_PATH, InATerminal());
  ASSERT_TRUE(child.WaitForOutput("\tcopied"));
  child.Signal(SIGINT);
  const CliRun run = child.Wait();
  EXPECT_EQ(run.status, 128 + SIGINT);
  EXPECT_EQ(ScreenLines(run.terminal),
            (Lines{small + "\tsmall\t" + (out / "small.flac").string() + "\tcopied",
                   "morvane-cli: interrupted after 1 of 3 files", "1 copied (19 KiB), 0 skipped, 0 failed"}))
      << run.terminal;
  EXPECT_EQ(run.terminal.find("Copying 2 of 3"), std::string::npos) << "the progress counts files once they are done";
}

}  // namespace
