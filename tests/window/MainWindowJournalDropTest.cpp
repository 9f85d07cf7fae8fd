// What the window adds to the plain workflow: its renames are journalled for undo, and
// files and folders dropped onto the list are read as if chosen. Real files, real events.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTableWidget>
#include <QUrl>
#include <filesystem>

#include "platform/Environment.h"
#include "support/MediaFactory.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"
#include "support/Succeeded.h"
#include "window/FileListView.h"
#include "window/ProgressStrip.h"
#include "window/WindowDriver.h"
#include "workflow/undo/UndoJournal.h"
#include "workflow/undo/UndoRun.h"

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
  // Drags `urls` onto the list and drops them there, as a file manager does; whether the
  // list took the drag.
  bool Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QWidget* target = driver.list().viewport();
    const QPoint point = target->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
  }
  static QUrl Local(const fs::path& path) { return QUrl::fromLocalFile(Q(path.string())); }
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
  ASSERT_TRUE(Succeeded(ReadJournal(DefaultJournalPath(), runs)));
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].Records.size(), 2u);
  EXPECT_EQ(runs[0].Records[0].OldPath, clipA);
  EXPECT_EQ(runs[0].Records[0].NewPath, (folder / "2015-06-01T10_20_30.000000Z.mp4").string());
  EXPECT_EQ(runs[0].Records[1].OldPath, clipB);

  // A rename that renames nothing (the files are gone from their old names) adds no run.
  driver.Click("RzButton2");
  ASSERT_TRUE(Succeeded(ReadJournal(DefaultJournalPath(), runs)));
  ASSERT_EQ(runs.size(), 1u);

  EXPECT_TRUE(UndoRun(runs[0], DefaultJournalPath()).AllRestored);
  EXPECT_TRUE(fs::exists(clipA));
  EXPECT_TRUE(fs::exists(clipB));
}

TEST_F(MainWindowJournalDropTest, UndoPutsTheWindowsLastRenameBackAndTheRowsFollow) {
  auto* undo = driver.window().findChild<QPushButton*>("btnUndo");
  ASSERT_NE(undo, nullptr);
  EXPECT_FALSE(undo->isEnabled()) << "nothing to undo yet";
  RenameBoth();
  ASSERT_TRUE(undo->isEnabled());
  // A later run of another program's rename is not the window's to undo.
  const std::string other = folder.WriteFile("other.txt", "o").string();
  const std::string otherMoved = (folder / "moved.txt").string();
  fs::rename(other, otherMoved);
  {
    TJournalWriter writer(DefaultJournalPath());
    writer.RecordRename(other, otherMoved);
  }

  driver.Click("btnUndo");
  EXPECT_TRUE(fs::exists(clipA) && fs::exists(clipB));
  EXPECT_TRUE(fs::exists(otherMoved)) << "the other run stays";
  EXPECT_EQ(driver.window().Progress().Summary(), "2 restored, 0 not restored");
  EXPECT_EQ(driver.cell(0, TFileListView::FileNameColumn), Q(clipA)) << "the row follows its file back";
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "would rename");
  EXPECT_FALSE(undo->isEnabled()) << "undone once";

  driver.Click("RzButton2");
  ASSERT_FALSE(fs::exists(clipA));
  QTest::keyClick(&driver.window(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(fs::exists(clipA) && fs::exists(clipB)) << "Ctrl+Z undoes too";
}

// A restarted window offers the journal's newest run that is not undone, as morvane-cli undo
// takes it, and tells which run that is. One window lives at a time, as in the program.
TEST(MainWindowUndoAfterRestartTest, UndoOffersTheJournalsNewestRunNotUndone) {
  TempFolder folder;
  TempFolder state;
  const ScopedEnvVar stateHome("XDG_STATE_HOME", state.path().c_str());
  const std::string clipA = MakeMediaWithCreationTime(folder / "a.mp4", Stamp1).string();
  const std::string clipB = MakeMediaWithCreationTime(folder / "b.mov", Stamp2).string();
  {
    WindowDriver first;
    first.Answer(QStringList{Q(clipA), Q(clipB)});
    first.Click("RzButton1");
    first.Click("RzButton2");
    ASSERT_FALSE(fs::exists(clipA) || fs::exists(clipB));
  }
  // A later run that was undone since: not the one to offer.
  const std::string other = folder.WriteFile("other.txt", "o").string();
  const std::string otherMoved = (folder / "moved.txt").string();
  fs::rename(other, otherMoved);
  {
    TJournalWriter writer(DefaultJournalPath());
    writer.RecordRename(other, otherMoved);
  }
  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(DefaultJournalPath(), runs)));
  ASSERT_EQ(runs.size(), 2u);
  ASSERT_TRUE(UndoRun(runs[1], DefaultJournalPath()).AllRestored);

  WindowDriver restarted;
  auto* undo = restarted.window().findChild<QPushButton*>("btnUndo");
  auto* action = restarted.window().findChild<QAction*>("actUndo");
  ASSERT_TRUE(undo && action);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_TRUE(undo->toolTip().contains(Q(runs[0].Time + ", 2 files"))) << undo->toolTip().toStdString();
  EXPECT_EQ(action->toolTip(), undo->toolTip());
  QTest::keyClick(&restarted.window(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(fs::exists(clipA) && fs::exists(clipB));
  EXPECT_TRUE(fs::exists(other)) << "the undone run is not undone again";
  EXPECT_EQ(restarted.window().Progress().Summary(), "2 restored, 0 not restored");
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(undo->toolTip().contains(Q(runs[0].Time))) << "no run is offered any more";
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

TEST_F(MainWindowJournalDropTest, WithoutAFolderForTheJournalTheLogSaysSoAndTheRenameGoesOn) {
  const ScopedEnvVar noState("XDG_STATE_HOME", nullptr);
  const ScopedEnvVar noHome("HOME", nullptr);
  RenameBoth();
  const QStringList log = driver.window().findChild<QPlainTextEdit*>("mmoLog")->toPlainText().split(u'\n');
  const std::string warning = std::string(JournalNotWritten) + platform::NoUserStateFolder;
  EXPECT_TRUE(log.contains(Q(warning))) << log.join(u'\n').toStdString();
  EXPECT_TRUE(fs::exists(folder / "2016-01-02T03_04_05.000000Z.mov"));
}

TEST_F(MainWindowJournalDropTest, DroppedFilesAndFoldersBecomeTheRowsAndFoldersAreWalked) {
  const fs::path tree = folder / "tree";
  fs::create_directories(tree / "sub");
  const std::string inner = MakeMediaWithCreationTime(tree / "sub" / "c.mkv", Stamp1).string();
  const std::string top = MakeMediaWithCreationTime(tree / "d.mp4", Stamp2).string();
  MakeMediaWithCreationTime(tree / ".hidden.mp4", Stamp1);
  folder.WriteFile("tree/notes.txt", "not media");
  fs::create_symlink(clipA, tree / "link.mp4");

  ASSERT_TRUE(Drop({Local(clipB), Local(tree)}));
  ASSERT_EQ(driver.rowCount(), 3);
  EXPECT_EQ(driver.cell(0, TFileListView::FileNameColumn), Q(clipB));
  EXPECT_EQ(driver.cell(0, TFileListView::CreationTimeColumn), Q(Stamp2));
  EXPECT_EQ(driver.cell(1, TFileListView::FileNameColumn), Q(top));
  EXPECT_EQ(driver.cell(2, TFileListView::FileNameColumn), Q(inner));
  EXPECT_EQ(driver.cell(2, TFileListView::CreationTimeColumn), Q(Stamp1));
  EXPECT_EQ(driver.window().Progress().Summary(),
            "3 files read, 3 with a creation time; left out 1 file that is not media: .txt 1");
  EXPECT_TRUE(driver.dialogsShown().empty()) << "a drop asks nothing";

  // The dropped rows are the rows a rename works on.
  driver.Click("RzButton2");
  EXPECT_TRUE(fs::exists(tree / "sub" / "2015-06-01T10_20_30.000000Z.mkv"));
  EXPECT_TRUE(fs::exists(folder / "2016-01-02T03_04_05.000000Z.mov"));
  EXPECT_TRUE(fs::exists(clipA)) << "a link in a dropped folder is left out";
  EXPECT_TRUE(fs::exists(tree / ".hidden.mp4"));
}

TEST_F(MainWindowJournalDropTest, ADropWithoutLocalFilesIsRefusedAndLeavesTheList) {
  driver.Answer(QStringList{Q(clipA)});
  driver.Click("RzButton1");
  ASSERT_EQ(driver.rowCount(), 1);
  EXPECT_FALSE(Drop({QUrl("https://example.org/clip.mp4")}));
  EXPECT_EQ(driver.rowCount(), 1);
  EXPECT_EQ(driver.cell(0, TFileListView::FileNameColumn), Q(clipA));
  // A missing file is taken like a chosen one: its own row, added, says what is wrong.
  ASSERT_TRUE(Drop({Local(folder / "gone.mp4")}));
  ASSERT_EQ(driver.rowCount(), 2);
  EXPECT_EQ(driver.cell(1, TFileListView::FileNameColumn), Q((folder / "gone.mp4").string()));
  EXPECT_EQ(driver.cell(1, TFileListView::ResultColumn), "skipped: file not found");
}

}  // namespace
