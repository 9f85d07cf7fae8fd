// The undo journal through morvane-cli: every real rename that renames something is
// journalled, and `undo` puts the files back without ever replacing a file. The journal
// lives in a state folder of the test's own (XDG_STATE_HOME); files are checked on disk
// before and after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"
#include "support/WholeRegex.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kRunLine = "[0-9]{8}-[0-9]{6}-[0-9a-f]{6}\t[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}Z\t";

// A regular expression that matches `text` alone.
std::string Literal(const std::string& text) {
  static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
  return std::regex_replace(text, special, R"(\$&)");
}

class CliUndoTest : public CliTest {
 protected:
  std::string Journal() const { return (state / "morvane" / "undo-journal").string(); }
  // The id of the run on line `index` of `undo --list`.
  std::string RunIdAt(std::size_t index) const {
    const CliRun list = RunCliProcess({"undo", "--list"});
    std::size_t start = 0;
    for (std::size_t line = 0; line < index; ++line) start = list.out.find('\n', start) + 1;
    return list.out.substr(start, list.out.find('\t', start) - start);
  }
  // The end of an `undo --list` line for a run over files of the test's folder.
  std::string InFolder() const { return "\t" + Literal(folder.path().string()) + "\n"; }
  TempFolder state;
  // The variable that names the user's state folder on this system.
#ifdef _WIN32
  ScopedEnvVar stateHome{"LOCALAPPDATA", state.path().string().c_str()};
#else
  ScopedEnvVar stateHome{"XDG_STATE_HOME", state.path().string().c_str()};
#endif
};

TEST_F(CliUndoTest, UndoPutsBackTheLastRenameRunAndMarksItUndone) {
  const std::string a = MakeFlac(folder / "a.flac", "one", "a").string();
  const std::string b = MakeFlac(folder / "b.flac", "two", "b").string();
  const std::string named = MakeFlac(folder / "three.flac", "three").string();
  const auto before = Snapshot(folder.path());

  ASSERT_EQ(RunCliProcess({"rename", a, b, named}).status, 0);
  ASSERT_FALSE(fs::exists(a));
  const CliRun list = RunCliProcess({"undo", "--list"});
  EXPECT_EQ(list.status, 0);
  // The file that kept its name is no part of the run; the line ends with the folder.
  EXPECT_THAT(list.out, MatchesWholeRegex(std::string(kRunLine) + "2 files\tnot undone" + InFolder()));

  const CliRun undo = RunCliProcess({"undo"});
  EXPECT_EQ(undo.status, 0) << undo.err;
  // Last renamed first.
  EXPECT_EQ(undo.out, PathOf("two.flac") + "\t" + b + "\trestored\n" + PathOf("one.flac") + "\t" + a + "\trestored\n");
  EXPECT_EQ(Snapshot(folder.path()), before);
  EXPECT_THAT(RunCliProcess({"undo", "--list"}).out,
              MatchesWholeRegex(std::string(kRunLine) + "2 files\tundone" + InFolder()));

  const CliRun again = RunCliProcess({"undo"});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.out, "");
  EXPECT_THAT(again.err, HasSubstr("no rename run left to undo"));
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliUndoTest, RunsThatRenameNothingLeaveNoJournal) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  const std::string named = MakeFlac(folder / "two.flac", "two").string();
  EXPECT_EQ(RunCliProcess({"rename", "--dry-run", a}).status, 0);
  EXPECT_EQ(RunCliProcess({"rename", named, PathOf("missing.flac")}).status, 1);
  EXPECT_EQ(RunCliProcess({"copy", out.string(), a}).status, 0);
  EXPECT_FALSE(fs::exists(state / "morvane"));
  const CliRun list = RunCliProcess({"undo", "--list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "");
  EXPECT_EQ(RunCliProcess({"undo"}).status, 1);
  EXPECT_TRUE(fs::exists(a));
}

TEST_F(CliUndoTest, UndoOfARunWithTwinsGivesEachFileItsOwnNameBack) {
  const std::string a = MakeFlac(folder / "a.flac", "same", "first").string();
  const std::string b = MakeFlac(folder / "b.flac", "same", "second").string();
  const auto before = Snapshot(folder.path());
  ASSERT_EQ(RunCliProcess({"rename", "--unique", a, b}).status, 0);
  ASSERT_TRUE(fs::exists(folder / "same_1.flac"));

  const CliRun undo = RunCliProcess({"undo"});
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(undo.out, PathOf("same_1.flac") + "\t" + b + "\trestored\n" + PathOf("same.flac") + "\t" + a + "\trestored\n");
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliUndoTest, AFileMovedAwaySinceIsSkippedAndTheOthersGoBack) {
  const std::string a = MakeFlac(folder / "a.flac", "one", "a").string();
  const std::string b = MakeFlac(folder / "b.flac", "two", "b").string();
  const std::string bBytes = ReadWholeFile(b);
  ASSERT_EQ(RunCliProcess({"rename", a, b}).status, 0);
  fs::rename(folder / "two.flac", out / "kept.flac");
  // Something else takes the freed name: undo must not take it for the renamed file.
  folder.WriteFile("two.flac", "another file");

  const CliRun undo = RunCliProcess({"undo"});
  EXPECT_EQ(undo.status, 1);
  EXPECT_EQ(undo.out, PathOf("two.flac") + "\t" + b + "\tskipped: another file has taken its new name\n" +
                          PathOf("one.flac") + "\t" + a + "\trestored\n");
  EXPECT_TRUE(fs::exists(a));
  EXPECT_FALSE(fs::exists(b));
  EXPECT_EQ(ReadWholeFile(folder / "two.flac"), "another file");
  EXPECT_EQ(ReadWholeFile(out / "kept.flac"), bBytes);
  // The run is done with: what could go back went back.
  EXPECT_THAT(RunCliProcess({"undo", "--list"}).out,
              MatchesWholeRegex(std::string(kRunLine) + "2 files\tundone" + InFolder()));
}

TEST_F(CliUndoTest, AFileRenamedAwayWithNothingInItsPlaceIsSkipped) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  ASSERT_EQ(RunCliProcess({"rename", a}).status, 0);
  fs::rename(folder / "one.flac", folder / "elsewhere.flac");
  const CliRun undo = RunCliProcess({"undo"});
  EXPECT_EQ(undo.status, 1);
  EXPECT_EQ(undo.out, PathOf("one.flac") + "\t" + a + "\tskipped: moved or renamed since\n");
  EXPECT_TRUE(fs::exists(folder / "elsewhere.flac"));
  EXPECT_FALSE(fs::exists(a));
}

TEST_F(CliUndoTest, AHalfWrittenLastLineCostsOnlyItself) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  const std::string b = MakeFlac(folder / "b.flac", "two").string();
  ASSERT_EQ(RunCliProcess({"rename", a}).status, 0);
  // A crash in the middle of a record leaves a line without its end.
  std::ofstream(Journal(), std::ios::app) << "rename\t20990101-000000-abcdef\t2099-01-01T00:00:00Z\t1:2\t/x/old";
  ASSERT_EQ(RunCliProcess({"rename", b}).status, 0);

  const CliRun list = RunCliProcess({"undo", "--list"});
  EXPECT_THAT(list.out, MatchesWholeRegex(std::string(kRunLine) + "1 file\tnot undone" + InFolder() + kRunLine +
                                          "1 file\tnot undone" + InFolder()));
  EXPECT_EQ(RunCliProcess({"undo"}).out, PathOf("two.flac") + "\t" + b + "\trestored\n");
  EXPECT_EQ(RunCliProcess({"undo"}).out, PathOf("one.flac") + "\t" + a + "\trestored\n");
  EXPECT_TRUE(fs::exists(a));
  EXPECT_TRUE(fs::exists(b));
}

TEST_F(CliUndoTest, UndoRunPicksARunByItsId) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  const std::string b = MakeFlac(folder / "b.flac", "two").string();
  ASSERT_EQ(RunCliProcess({"rename", a}).status, 0);
  ASSERT_EQ(RunCliProcess({"rename", b}).status, 0);
  const std::string first = RunIdAt(0);
  ASSERT_FALSE(first.empty());

  const CliRun undo = RunCliProcess({"undo", first});
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(undo.out, PathOf("one.flac") + "\t" + a + "\trestored\n");
  EXPECT_TRUE(fs::exists(a));
  EXPECT_TRUE(fs::exists(folder / "two.flac"));
  EXPECT_THAT(RunCliProcess({"undo", "--list"}).out,
              MatchesWholeRegex(first + "\t[^\t]*\t1 file\tundone" + InFolder() + kRunLine + "1 file\tnot undone" +
                                InFolder()));

  const CliRun twice = RunCliProcess({"undo", first});
  EXPECT_EQ(twice.status, 1);
  EXPECT_THAT(twice.err, HasSubstr("was undone already"));
  EXPECT_TRUE(fs::exists(folder / "two.flac"));
}

// A RUN that names no run is a mistake of the command line: nothing is undone, not even
// the newest run, which an empty RUN used to stand for.
TEST_F(CliUndoTest, AnEmptyOrUnknownRunIsAnErrorThatChangesNothing) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  ASSERT_EQ(RunCliProcess({"rename", a}).status, 0);
  const std::string journalBefore = ReadWholeFile(Journal());
  for (const std::string& runId : {std::string(), std::string("19990101-000000-000000")}) {
    const CliRun undo = RunCliProcess({"undo", runId});
    EXPECT_EQ(undo.status, 2) << "'" << runId << "'";
    EXPECT_EQ(undo.out, "");
    EXPECT_THAT(undo.err, HasSubstr(runId.empty() ? "RUN is empty" : "no run '" + runId + "'"));
  }
  EXPECT_TRUE(fs::exists(folder / "one.flac"));
  EXPECT_EQ(ReadWholeFile(Journal()), journalBefore);
}

TEST_F(CliUndoTest, AJournalThatCannotBeWrittenIsToldOnceAndTheRenameGoesOn) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  const std::string b = MakeFlac(folder / "b.flac", "two").string();
  // A file where the state folder should be.
  const fs::path blocker = state.WriteFile("blocker", "");
#ifdef _WIN32
  ScopedEnvVar blocked("LOCALAPPDATA", blocker.string().c_str());
#else
  ScopedEnvVar blocked("XDG_STATE_HOME", blocker.string().c_str());
#endif
  const CliRun run = RunCliProcess({"rename", a, b});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(fs::exists(folder / "one.flac"));
  EXPECT_TRUE(fs::exists(folder / "two.flac"));
  const std::string told = "morvane-cli: undo journal not written: " + (blocker / "morvane" / "undo-journal").string();
#ifdef _WIN32
  EXPECT_THAT(run.err, StartsWith(told + ": "));
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "told once: " << run.err;
#else
  EXPECT_EQ(run.err, told + ": Not a directory\n");
#endif
}

TEST_F(CliUndoTest, ARenameOfRelativeNamesIsUndoneFromAnyFolder) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  CliOptions inFolder;
  inFolder.workingFolder = folder.path().string();
  ASSERT_EQ(RunCliProcess({"rename", "a.flac"}, MORVANE_CLI_PATH, inFolder).status, 0);
  ASSERT_TRUE(fs::exists(folder / "one.flac"));
  CliOptions elsewhere;
  elsewhere.workingFolder = out.string();
  const CliRun undo = RunCliProcess({"undo"}, MORVANE_CLI_PATH, elsewhere);
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(undo.out, PathOf("one.flac") + "\t" + a + "\trestored\n");
  EXPECT_TRUE(fs::exists(a));
}

TEST_F(CliUndoTest, UndoTakesAtMostOneRunAndNoneWithList) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"undo", "a", "b"}, {"undo", "--list", "a"}, {"undo", "--dry-run"}}) {
    const CliRun run = RunCliProcess(arguments);
    EXPECT_EQ(run.status, 2) << arguments.back();
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
