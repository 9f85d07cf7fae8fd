// What the window adds to the plain workflow: its renames are journalled for undo, and
// files and folders dropped onto the list are read as if chosen. Real files, real events.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "support/MediaFactory.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"
#include "window/FileListView.h"
#include "window/ProgressStrip.h"
#include "window/WindowDriver.h"
#include "workflow/UndoJournal.h"
#include "workflow/UndoRun.h"

namespace {

namespace fs = std::filesystem;

const std::string Stamp1 = "2015-06-01T10:20:30.000000Z";
const std::string Stamp2 = "2016-01-02T03:04:05.000000Z";

class MainWindowJournalDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clipA = MakeMediaWithCreationTime(folder / "a.mp4", Stamp1).string();
    clipB = MakeMediaWithCreationTime(folder / "b.mov", Stamp2).string();
  }
  void RenameBoth() {
    driver.Answer(QStringList{Q(clipA), Q(clipB)});
    driver.Click("RzButton1");
    driver.Click("RzButton2");
  }

  TempFolder folder;
  TempFolder state;
  ScopedEnvVar stateHome{"XDG_STATE_HOME", state.path().c_str()};
  std::string clipA, clipB;
  WindowDriver driver;
};

TEST_F(MainWindowJournalDropTest, ARenameFromTheWindowIsJournalledAndCanBeUndone) {
  RenameBoth();
  ASSERT_EQ(driver.window().Progress().Summary(), "2 renamed, 0 skipped, 0 failed");
  std::vector<TJournalRun> runs;
  std::string error;
  ASSERT_TRUE(ReadJournal(DefaultJournalPath(), runs, error)) << error;
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].Records.size(), 2u);
  EXPECT_EQ(runs[0].Records[0].OldPath, clipA);
  EXPECT_EQ(runs[0].Records[0].NewPath, (folder / "2015-06-01T10_20_30.000000Z.mp4").string());
  EXPECT_EQ(runs[0].Records[1].OldPath, clipB);

  // A rename that renames nothing (the files are gone from their old names) adds no run.
  driver.Click("RzButton2");
  ASSERT_TRUE(ReadJournal(DefaultJournalPath(), runs, error));
  ASSERT_EQ(runs.size(), 1u);

  EXPECT_TRUE(UndoRun(runs[0], DefaultJournalPath()).AllRestored);
  EXPECT_TRUE(fs::exists(clipA));
  EXPECT_TRUE(fs::exists(clipB));
}

TEST_F(MainWindowJournalDropTest, AJournalThatCannotBeWrittenShowsInTheSummaryAndTheRenameGoesOn) {
  const std::string blocker = state.WriteFile("blocker", "").string();
  ScopedEnvVar blocked("XDG_STATE_HOME", blocker.c_str());
  RenameBoth();
  EXPECT_EQ(driver.window().Progress().Summary().toStdString(),
            "2 renamed, 0 skipped, 0 failed; undo journal not written: " + blocker +
                "/morvane/undo-journal: Not a directory");
  EXPECT_FALSE(fs::exists(clipA));
  EXPECT_TRUE(fs::exists(folder / "2016-01-02T03_04_05.000000Z.mov"));
}

}  // namespace
