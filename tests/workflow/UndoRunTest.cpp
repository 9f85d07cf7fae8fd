#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "workflow/undo/UndoRun.h"
#include "workflow/naming/UniqueName.h"
#include "platform/FileSystem.h"
#include "support/FileTimes.h"
#include "support/TempFolder.h"
#include "support/Succeeded.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::map<std::string, std::string>;

// A folder of files, a journal beside it, and renames recorded as a rename run records them.
class UndoRunTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name, const std::string& content) {
    return folder.WriteFile("v/" + name, content).string();
  }
  std::string PathOf(const std::string& name) const { return (folder / "v" / name).string(); }
  // The files of the folder, name to content.
  Entries Snapshot() const {
    Entries entries;
    for (const auto& entry : fs::directory_iterator(folder / "v"))
      entries[entry.path().filename().string()] = ReadWholeFile(entry.path());
    return entries;
  }
  void Rename(TJournalWriter& writer, const std::string& from, const std::string& to) {
    const TUniquePlacement placement = RenameToUniqueName(PathOf(from), PathOf(to));
    ASSERT_EQ(placement.Outcome, TUniquePlacement::TOutcome::Placed) << placement.Error;
    writer.RecordRename(PathOf(from), placement.Target);
  }
  TJournalRun OnlyRun() {
    std::vector<TJournalRun> runs;
    EXPECT_TRUE(Succeeded(ReadJournal(journal, runs)));
    EXPECT_EQ(runs.size(), 1u);
    return runs.empty() ? TJournalRun{} : runs.front();
  }
  std::vector<std::string> Results(const TUndoOutcome& outcome) const {
    std::vector<std::string> results;
    for (const TUndoRow& row : outcome.Rows) results.push_back(row.Result);
    return results;
  }

  TempFolder folder;
  std::string journal = (folder / "state" / "undo-journal").string();
  TJournalWriter writer{journal};
  void SetUp() override { fs::create_directory(folder / "v"); }
};

TEST_F(UndoRunTest, PutsARenameRunBackAndMarksItUndone) {
  File("a.mp4", "A");
  File("b.mov", "B");
  File("untouched.mp4", "U");
  const Entries before = Snapshot();
  Rename(writer, "a.mp4", "2015-06-01T10_20_30.000000Z.mp4");
  Rename(writer, "b.mov", "2016-01-02T03_04_05.000000Z.mov");

  const TUndoOutcome outcome = UndoRun(OnlyRun(), journal);
  EXPECT_TRUE(outcome.AllRestored);
  EXPECT_EQ(outcome.MarkError, "");
  ASSERT_EQ(outcome.Rows.size(), 2u);
  EXPECT_EQ(outcome.Rows[0].CurrentPath, PathOf("2016-01-02T03_04_05.000000Z.mov")) << "last renamed first";
  EXPECT_EQ(outcome.Rows[0].OldPath, PathOf("b.mov"));
  EXPECT_EQ(Results(outcome), (std::vector<std::string>{"restored", "restored"}));
  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(OnlyRun().Undone);
}

TEST_F(UndoRunTest, PutsTwinsBackFromTheirNumberedNames) {
  File("a.mp4", "first");
  File("b.mp4", "second");
  File("c.mp4", "third");
  const Entries before = Snapshot();
  for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) Rename(writer, name, "same.mp4");
  EXPECT_EQ(Snapshot(), (Entries{{"same.mp4", "first"}, {"same_1.mp4", "second"}, {"same_2.mp4", "third"}}));

  const TUndoOutcome outcome = UndoRun(OnlyRun(), journal);
  EXPECT_TRUE(outcome.AllRestored);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(UndoRunTest, AChainOfNamesInOneRunUnwindsInReverse) {
  File("a.mp4", "A");
  File("c.mp4", "C");
  Rename(writer, "a.mp4", "b.mp4");
  Rename(writer, "c.mp4", "a.mp4");  // takes the name that a.mp4 gave up
  const TUndoOutcome outcome = UndoRun(OnlyRun(), journal);
  EXPECT_TRUE(outcome.AllRestored);
  EXPECT_EQ(Snapshot(), (Entries{{"a.mp4", "A"}, {"c.mp4", "C"}}));
}

TEST_F(UndoRunTest, SkipsFilesThatMovedOrWhoseNamesWereTakenAndTouchesNothingElse) {
  for (const char* name : {"moved.mp4", "taken.mp4", "replaced.mp4", "fine.mp4"}) File(name, name);
  for (const char* name : {"moved.mp4", "taken.mp4", "replaced.mp4", "fine.mp4"})
    Rename(writer, name, std::string("new-") + name);
  fs::rename(PathOf("new-moved.mp4"), folder / "elsewhere.mp4");
  File("taken.mp4", "a new file with the old name");
  fs::rename(PathOf("new-replaced.mp4"), folder / "replaced away.mp4");
  File("new-replaced.mp4", "another file under the new name");

  const TUndoOutcome outcome = UndoRun(OnlyRun(), journal);
  EXPECT_FALSE(outcome.AllRestored);
  EXPECT_EQ(Results(outcome),
            (std::vector<std::string>{"restored", "skipped: another file has taken its new name",
                                      "skipped: its old name is taken", "skipped: moved or renamed since"}));
  EXPECT_EQ(Snapshot(), (Entries{{"fine.mp4", "fine.mp4"},
                                 {"new-replaced.mp4", "another file under the new name"},
                                 {"new-taken.mp4", "taken.mp4"},
                                 {"taken.mp4", "a new file with the old name"}}));
  EXPECT_TRUE(OnlyRun().Undone) << "marked undone also when some files were skipped";

  // A second try of the same run finds the restored file where it belongs.
  const TUndoOutcome again = UndoRun(OnlyRun(), journal);
  EXPECT_EQ(again.Rows.back().Result, "skipped: moved or renamed since");
  EXPECT_EQ(again.Rows.front().Result, "skipped: already back at its old name");
}

std::uint64_t InodeOf(const std::string& path) {
  platform::FileStatus status;
  EXPECT_TRUE(platform::GetFileStatus(path, status)) << path;
  return status.inode;
}

// Same device and inode do not make the same file: a deleted file's inode goes to the next
// file made, and a file written in place keeps its inode.
TEST_F(UndoRunTest, AFileWithTheRecordedInodeButOtherContentsStays) {
  File("deleted.mp4", "D");
  File("edited.mp4", "E");
  Rename(writer, "deleted.mp4", "new-deleted.mp4");
  Rename(writer, "edited.mp4", "new-edited.mp4");

  const std::uint64_t freed = InodeOf(PathOf("new-deleted.mp4"));
  fs::remove(PathOf("new-deleted.mp4"));
  File("new-deleted.mp4", "another clip saved under the name");
  // The file system gives the freed inode to the next file made, unless a file made
  // elsewhere at the same moment took it first: then the new file has an inode of its own.
  const bool reused = InodeOf(PathOf("new-deleted.mp4")) == freed;
  // Same size, same inode; only the modification time tells.
  const std::string edited = PathOf("new-edited.mp4");
  File("new-edited.mp4", "e");
  fs::last_write_time(edited, fs::last_write_time(edited) + std::chrono::seconds(5));

  const TUndoOutcome outcome = UndoRun(OnlyRun(), journal);
  EXPECT_FALSE(outcome.AllRestored);
  EXPECT_EQ(Results(outcome),
            (std::vector<std::string>{"skipped: changed since", reused ? "skipped: changed since"
                                                                       : "skipped: another file has taken its new name"}));
  EXPECT_EQ(Snapshot(), (Entries{{"new-deleted.mp4", "another clip saved under the name"}, {"new-edited.mp4", "e"}}));
}

TEST_F(UndoRunTest, RecordsOfOlderJournalsWithDeviceAndInodeOnlyStillUndo) {
  File("a.mp4", "A");
  Rename(writer, "a.mp4", "b.mp4");
  platform::FileStatus status;
  ASSERT_TRUE(platform::GetFileStatus(PathOf("b.mp4"), status));
  // Older journals kept "device:inode" only: the record loses its size and time.
  std::string record = ReadWholeFile(journal);
  const std::string identity = std::to_string(status.device) + ':' + std::to_string(status.inode);
  const std::size_t kept = record.find('\t' + identity + ':');
  ASSERT_NE(kept, std::string::npos) << record;
  const std::size_t cut = kept + 1 + identity.size();
  record.erase(cut, record.find('\t', cut) - cut);
  std::ofstream(journal, std::ios::binary | std::ios::trunc) << record;

  const TUndoOutcome outcome = UndoRun(OnlyRun(), journal);
  EXPECT_EQ(Results(outcome), std::vector<std::string>{"restored"});
  EXPECT_EQ(Snapshot(), (Entries{{"a.mp4", "A"}}));
}

TEST_F(UndoRunTest, UndoesFromAJournalWithAHalfWrittenLastLine) {
  File("a.mp4", "A");
  Rename(writer, "a.mp4", "A.mp4");
  std::ofstream(journal, std::ios::app | std::ios::binary) << "rename\t" << writer.RunId() << "\t2026";
  const TUndoOutcome outcome = UndoRun(OnlyRun(), journal);
  EXPECT_TRUE(outcome.AllRestored);
  EXPECT_EQ(Snapshot(), (Entries{{"a.mp4", "A"}}));
  EXPECT_TRUE(OnlyRun().Undone) << "the mark starts a line of its own after the damage";
}

TEST_F(UndoRunTest, AJournalThatCannotBeMarkedIsReportedAfterThePutBack) {
  File("a.mp4", "A");
  Rename(writer, "a.mp4", "A.mp4");
  const TJournalRun run = OnlyRun();
  fs::remove(journal);
  fs::create_directory(journal);  // a folder where the journal was
  const TUndoOutcome outcome = UndoRun(run, journal);
  EXPECT_TRUE(outcome.AllRestored);
  EXPECT_NE(outcome.MarkError, "");
  EXPECT_EQ(Snapshot(), (Entries{{"a.mp4", "A"}}));
}

// Modification times outside the 1678 to 2262 that nanoseconds in 64 bits reach go into
// the journal as the decimal count of nanoseconds they are, and know the file again.
TEST(UndoFarTimesTest, TimesFarFromNowAreRecordedAsTheyAreAndTheFilesGoBack) {
  TempFolder far{FolderForFarTimes()};
  const std::string journal = (far / "undo-journal").string();
  TJournalWriter writer{journal};
  // Noon of March 1, 2300, and a quarter second past noon of March 1, 1019 (UTC).
  const std::int64_t late = 10418932800, early = -30005553600;
  std::vector<std::string> expected;
  for (const auto& [name, seconds, nanoseconds] :
       {std::tuple{"late", late, 0L}, std::tuple{"early", early, 250000000L}}) {
    const std::string file = far.WriteFile(std::string(name) + ".mp4", name).string();
    if (!SetModifiedSeconds(file, seconds, nanoseconds))
      GTEST_SKIP() << "the file system of " << far.path() << " cannot keep the time " << seconds << " s";
    fs::rename(file, far / (std::string(name) + "-new.mp4"));
    writer.RecordRename(file, (far / (std::string(name) + "-new.mp4")).string());
  }
  const std::string text = ReadWholeFile(journal);
  EXPECT_NE(text.find(":10418932800000000000\t"), std::string::npos) << text;
  EXPECT_NE(text.find(":-30005553599750000000\t"), std::string::npos) << text;

  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(journal, runs)));
  ASSERT_EQ(runs.size(), 1u);
  const TUndoOutcome outcome = UndoRun(runs.front(), journal);
  EXPECT_TRUE(outcome.AllRestored);
  EXPECT_TRUE(fs::exists(far / "late.mp4") && fs::exists(far / "early.mp4"));
}

}  // namespace
