#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "workflow/undo/UndoJournal.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"
#include "support/TestNeeds.h"
#include "support/Succeeded.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

const system_clock::time_point Start = sys_days{2026y / December / 7} + 12h + 15min + 3s;

std::vector<TJournalRun> Runs(const fs::path& journal) {
  std::vector<TJournalRun> runs;
  EXPECT_TRUE(Succeeded(ReadJournal(journal.string(), runs)));
  return runs;
}

void AppendRaw(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::app | std::ios::binary) << bytes; }

#ifdef _WIN32
TEST(UndoJournalTest, ThePathFollowsLocalAppData) {
  {
    ScopedEnvVar local("LOCALAPPDATA", "C:\\Users\\someone\\AppData\\Local");
    EXPECT_EQ(DefaultJournalPath(), "C:\\Users\\someone\\AppData\\Local\\morvane\\undo-journal");
  }
  ScopedEnvVar none("LOCALAPPDATA", nullptr);
  EXPECT_EQ(DefaultJournalPath(), "");
}
#else
TEST(UndoJournalTest, ThePathFollowsXdgStateHomeElseHome) {
  ScopedEnvVar home("HOME", "/home/someone");
  {
    ScopedEnvVar state("XDG_STATE_HOME", "/var/state/");
    EXPECT_EQ(DefaultJournalPath(), "/var/state/morvane/undo-journal");
  }
  for (const char* unusable : {"", "relative/state"}) {
    ScopedEnvVar state("XDG_STATE_HOME", unusable);
    EXPECT_EQ(DefaultJournalPath(), "/home/someone/.local/state/morvane/undo-journal") << unusable;
  }
  ScopedEnvVar state("XDG_STATE_HOME", nullptr);
  ScopedEnvVar noHome("HOME", nullptr);
  EXPECT_EQ(DefaultJournalPath(), "");
}
#endif

TEST(UndoJournalTest, RecordsReadBackWithEveryByteOfTheirPaths) {
  MORVANE_NEEDS(Missing(TNeed::PosixPermissions));
  TempFolder folder;
  const fs::path journal = folder / "state" / "morvane" / "undo-journal";
  TJournalWriter writer(journal.string(), Start);
  EXPECT_FALSE(fs::exists(folder / "state")) << "nothing is made before the first record";
  EXPECT_EQ(writer.RunTime(), "2026-12-07T12:15:03Z");
  EXPECT_TRUE(writer.RunId().starts_with("20261207-121503-")) << writer.RunId();

  const std::string odd = "/v/tab\there\nline \\ back\\t\r.mp4";
  const std::string renamed = folder.WriteFile("renamed.mp4", "x").string();
  writer.RecordRename(odd, renamed);
  writer.RecordRename("/v/b.mp4", "/v/gone.mp4");
  EXPECT_EQ(writer.TakeFailure(), "");
  EXPECT_EQ(fs::status(journal.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(fs::status(journal).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

  const auto runs = Runs(journal);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Id, writer.RunId());
  EXPECT_EQ(runs[0].Time, "2026-12-07T12:15:03Z");
  EXPECT_FALSE(runs[0].Undone);
  ASSERT_EQ(runs[0].Records.size(), 2u);
  EXPECT_EQ(runs[0].Records[0].OldPath, odd);
  EXPECT_EQ(runs[0].Records[0].NewPath, renamed);
  struct stat info {};
  ASSERT_EQ(::stat(renamed.c_str(), &info), 0);
  EXPECT_EQ(runs[0].Records[0].Inode, info.st_ino) << "the renamed file is known again by its inode";
  EXPECT_EQ(runs[0].Records[1].Inode, 0u) << "a file that could not be read has no identity";
}

TEST(UndoJournalTest, RunsListInOrderAndTheLastNotUndoneIsPicked) {
  TempFolder folder;
  const fs::path journal = folder / "undo-journal";
  TJournalWriter first(journal.string(), Start), second(journal.string(), Start + 1s);
  first.RecordRename("/v/a.mp4", "/v/A.mp4");
  second.RecordRename("/v/c.mp4", "/v/C.mp4");
  first.RecordRename("/v/b.mp4", "/v/B.mp4");
  ASSERT_NE(first.RunId(), second.RunId());

  auto runs = Runs(journal);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Records.size(), 2u);
  EXPECT_EQ(MostRecentRunToUndo(runs), &runs[1]);
  EXPECT_EQ(FindRun(runs, first.RunId()), &runs[0]);
  EXPECT_EQ(FindRun(runs, "no such run"), nullptr);
  EXPECT_EQ(RunListLine(runs[0]), first.RunId() + "\t2026-12-07T12:15:03Z\t2 files\tnot undone");

  ASSERT_TRUE(Succeeded(MarkRunUndone(journal.string(), second.RunId())));
  runs = Runs(journal);
  EXPECT_TRUE(runs[1].Undone);
  EXPECT_EQ(RunListLine(runs[1]), second.RunId() + "\t2026-12-07T12:15:04Z\t1 file\tundone");
  EXPECT_EQ(MostRecentRunToUndo(runs), &runs[0]);
  ASSERT_TRUE(Succeeded(MarkRunUndone(journal.string(), first.RunId())));
  EXPECT_EQ(MostRecentRunToUndo(Runs(journal)), nullptr);
}

TEST(UndoJournalTest, ADamagedJournalKeepsItsWholeRecordsAndTakesNewOnes) {
  TempFolder folder;
  const fs::path journal = folder / "undo-journal";
  TJournalWriter before(journal.string(), Start);
  before.RecordRename("/v/a.mp4", "/v/A.mp4");
  // A crash in the middle of a record, after a line of damage. The cut falls inside the new
  // path: completed by a later line break, the line must still not name a file.
  AppendRaw(journal, "rename\tbroken\tline\tend\n\x01\x02\nrename\t" + before.RunId() +
                         "\t2026-12-07T12:15:03Z\t0:0\t/v/old.mp4\t/v/ha");

  auto runs = Runs(journal);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Records.size(), 1u) << "the half-written last line is left out";

  TJournalWriter after(journal.string(), Start + 1min);
  after.RecordRename("/v/b.mp4", "/v/B.mp4");
  EXPECT_EQ(after.TakeFailure(), "");
  runs = Runs(journal);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Records.size(), 1u) << "the half line stays incomplete, not glued to the next record";
  ASSERT_EQ(runs[1].Records.size(), 1u);
  EXPECT_EQ(runs[1].Records[0].OldPath, "/v/b.mp4");
}

TEST(UndoJournalTest, AJournalThatCannotBeWrittenIsReportedOnceAndNeverThrows) {
  MORVANE_NEEDS(Missing(TNeed::Fifos));
  TempFolder folder;
  folder.WriteFile("a file", "");
  TJournalWriter underAFile((folder / "a file" / "morvane" / "undo-journal").string(), Start);
  underAFile.RecordRename("/v/a.mp4", "/v/A.mp4");
  underAFile.RecordRename("/v/b.mp4", "/v/B.mp4");
  const std::string failure = underAFile.TakeFailure();
  EXPECT_NE(failure.find("Not a directory"), std::string::npos) << failure;
  EXPECT_EQ(underAFile.TakeFailure(), "");

  TJournalWriter nowhere("", Start);
  nowhere.RecordRename("/v/a.mp4", "/v/A.mp4");
  EXPECT_EQ(nowhere.TakeFailure(), "no state folder (neither XDG_STATE_HOME nor HOME is set)");

  // A pipe that nobody reads would hold a blocking writer forever.
  const fs::path pipe = folder / "pipe";
  ASSERT_EQ(MakeFifo(pipe), 0);
  TJournalWriter intoPipe(pipe.string(), Start);
  intoPipe.RecordRename("/v/a.mp4", "/v/A.mp4");
  EXPECT_NE(intoPipe.TakeFailure(), "");
  std::vector<TJournalRun> runs;
  EXPECT_FALSE(ReadJournal(pipe.string(), runs));
  EXPECT_TRUE(Succeeded(ReadJournal((folder / "missing").string(), runs))) << "no journal yet: no runs";
  EXPECT_TRUE(runs.empty());
}

}  // namespace
