// The renaming workflow driven through the window: dialogs answered, buttons clicked, rows
// and files on disk checked, with media made by the ffmpeg command.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QSignalSpy>
#include <QTableWidget>
#include <filesystem>

#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "window/FileListView.h"
#include "window/PathElision.h"
#include "window/ProgressStrip.h"
#include "window/WindowDriver.h"

namespace {

namespace fs = std::filesystem;

const std::string Stamp1 = "2015-06-01T10:20:30.000000Z";
const std::string Stamp2 = "2016-01-02T03:04:05.000000Z";

class MainWindowWorkflowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clipA = MakeMediaWithCreationTime(folder / "a.mp4", Stamp1).string();
    clipB = MakeMediaWithCreationTime(folder / "b.mov", Stamp2).string();
    plain = MakeMedia(folder / "plain.mkv").string();
  }
  QStringList Paths(std::initializer_list<std::string> names) {
    QStringList paths;
    for (const std::string& name : names) paths << Q(name);
    return paths;
  }
  QString InFolder(const std::string& name) { return Q((folder / name).string()); }
  void SelectAll() {
    driver.Answer(Paths({clipA, clipB, plain}));
    driver.Click("RzButton1");
  }

  TempFolder folder;
  std::string clipA, clipB, plain;
  WindowDriver driver;
};

TEST_F(MainWindowWorkflowTest, SelectingFilesShowsEachFileWithItsCreationTime) {
  SelectAll();
  ASSERT_EQ(driver.dialogsShown(), std::vector<QString>{"OpenDialog1"});
  ASSERT_EQ(driver.rowCount(), 3);
  EXPECT_EQ(driver.cell(0, TFileListView::FileNameColumn), Q(clipA));
  EXPECT_EQ(driver.cell(0, TFileListView::CreationTimeColumn), Q(Stamp1));
  EXPECT_EQ(driver.cell(1, TFileListView::CreationTimeColumn), Q(Stamp2));
  EXPECT_EQ(driver.cell(2, TFileListView::FileNameColumn), Q(plain));
  EXPECT_EQ(driver.cell(2, TFileListView::CreationTimeColumn), "") << "no creation time: an empty field";
  // Before anything is done, the rows show what a rename would do, and no file has moved.
  EXPECT_EQ(driver.cell(0, TFileListView::NewFileNameColumn), InFolder("2015-06-01T10_20_30.000000Z.mp4"));
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "would rename");
  EXPECT_EQ(driver.cell(2, TFileListView::NewFileNameColumn), "");
  EXPECT_EQ(driver.cell(2, TFileListView::ResultColumn), "skipped: no creation time");
  EXPECT_TRUE(fs::exists(clipA) && fs::exists(clipB) && fs::exists(plain));
  EXPECT_FALSE(fs::exists(InFolder("2015-06-01T10_20_30.000000Z.mp4").toStdString()));
  // The files are read on the workflow's worker threads, each with a line buffer of its own:
  // the log view keeps what it showed, with only the libraries' messages added.
  const QString log = driver.window().findChild<QPlainTextEdit*>("mmoLog")->toPlainText();
  EXPECT_TRUE(log.startsWith("mmoLog")) << log.toStdString();
  EXPECT_FALSE(log.contains("File Name: ")) << log.toStdString();
}

TEST_F(MainWindowWorkflowTest, AConfirmedChooserAddsToTheListUntilClearEmptiesIt) {
  driver.Answer(Paths({clipB, clipA}));
  driver.Click("RzButton1");
  driver.Answer(std::nullopt);
  driver.Click("RzButton1");
  EXPECT_EQ(driver.rowCount(), 2) << "cancel changes nothing";

  // A chosen folder gives its media files, as a dropped one does; those listed stay as they are.
  driver.Answer(QStringList{Q(folder.path().string())});
  driver.Click("RzButton1");
  ASSERT_EQ(driver.rowCount(), 3);
  EXPECT_EQ(driver.cell(0, TFileListView::FileNameColumn), Q(clipB));
  EXPECT_EQ(driver.cell(2, TFileListView::FileNameColumn), Q(plain));
  EXPECT_EQ(driver.cell(2, TFileListView::ResultColumn), "skipped: no creation time") << "planned with the others";
  EXPECT_EQ(driver.window().Progress().Summary(), "1 files read, 0 with a creation time; 2 listed already");
  driver.Answer(QStringList());
  driver.Click("RzButton1");
  EXPECT_EQ(driver.rowCount(), 3) << "confirmed with nothing chosen: nothing added";

  QTableWidget& list = driver.list();
  EXPECT_EQ(list.contextMenuPolicy(), Qt::ActionsContextMenu);
  ASSERT_FALSE(list.actions().isEmpty());
  QAction* clear = list.actions().first();
  EXPECT_EQ(clear->text(), "Clear");
  clear->trigger();
  EXPECT_EQ(driver.rowCount(), 0);
  EXPECT_FALSE(driver.window().Progress().isVisible()) << "no summary of rows that are gone";

  driver.Answer(Paths({clipA}));
  driver.Click("RzButton1");
  EXPECT_EQ(driver.rowCount(), 1) << "a cleared list takes a file again";
  QApplication::setActiveWindow(&driver.window());
  QTest::keyClick(&driver.window(), Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(driver.rowCount(), 0) << "Ctrl+L clears too";
}

TEST_F(MainWindowWorkflowTest, RenameMovesTheFilesAndFillsTheLastTwoColumns) {
  SelectAll();
  driver.Click("RzButton2");
  EXPECT_TRUE(driver.dialogsShown().size() == 1) << "rename asks nothing";

  const QString newA = InFolder("2015-06-01T10_20_30.000000Z.mp4");
  const QString newB = InFolder("2016-01-02T03_04_05.000000Z.mov");
  EXPECT_EQ(driver.cell(0, TFileListView::NewFileNameColumn), newA);
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "renamed");
  EXPECT_EQ(driver.cell(1, TFileListView::NewFileNameColumn), newB);
  EXPECT_EQ(driver.cell(2, TFileListView::ResultColumn), "skipped: no creation time");
  EXPECT_EQ(driver.cell(0, TFileListView::FileNameColumn), newA) << "the row follows its renamed file";
  EXPECT_FALSE(fs::exists(clipA));
  EXPECT_TRUE(fs::exists(newA.toStdString()));
  EXPECT_TRUE(fs::exists(newB.toStdString()));
  EXPECT_TRUE(fs::exists(plain));

  driver.Click("RzButton2");
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "skipped: already named") << "a second rename finds them named";

  const fs::path out = folder / "out";
  fs::create_directory(out);
  driver.Answer(QStringList{Q(out.string())});
  driver.AnswerQuestion(true);
  driver.Click("RzButton3");
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "copied") << "a copy after a rename copies the renamed file";
  EXPECT_TRUE(fs::exists(out / "2015-06-01T10_20_30.000000Z.mp4"));
}

TEST_F(MainWindowWorkflowTest, ARowWithAnUnsetDateIsRenamedAndSaysSoAfterItsResult) {
  const std::string epoch = MakeMediaWithCreationTime(folder / "epoch.mp4", "1980-01-01T00:00:00.000000Z").string();
  driver.Answer(Paths({clipA, epoch}));
  driver.Click("RzButton1");
  EXPECT_EQ(driver.cell(1, TFileListView::ResultColumn), "would rename (date looks unset)");
  driver.Click("RzButton2");
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "renamed");
  EXPECT_EQ(driver.cell(1, TFileListView::ResultColumn), "renamed (date looks unset)");
  EXPECT_FALSE(fs::exists(epoch));
  EXPECT_TRUE(fs::exists(folder / "1980-01-01T00_00_00.000000Z.mp4")) << "the window still renames it";
}

TEST_F(MainWindowWorkflowTest, CopyAsksForAFolderShowsItsPlanAndCopiesOnceConfirmed) {
  SelectAll();
  const fs::path out = folder / "out";
  fs::create_directory(out);
  const fs::path copyA = out / "2015-06-01T10_20_30.000000Z.mp4";
  // What the window shows while it asks.
  QStringList results, buttons;
  QString target, summary, title, question;
  bool nothingCopied = false;
  driver.whileAsked = [&](QMessageBox& asked) {
    for (int row = 0; row < driver.rowCount(); ++row) results << driver.cell(row, TFileListView::ResultColumn);
    target = driver.cell(0, TFileListView::NewFileNameColumn);
    summary = driver.window().Progress().Summary();
    title = asked.windowTitle();
    question = asked.text() + "\n" + asked.informativeText();
    for (QAbstractButton* button : asked.buttons()) buttons << button->text();
    nothingCopied = fs::is_empty(out);
  };
  driver.Answer(QStringList{Q(out.string())});
  driver.AnswerQuestion(true);
  driver.Click("RzButton3");

  ASSERT_EQ(driver.dialogsShown(), (std::vector<QString>{"OpenDialog1", "RzSelectFolderDialog1"}));
  EXPECT_EQ(driver.window().findChild<QFileDialog*>("RzSelectFolderDialog1")->windowTitle(), "Copy into folder");
  ASSERT_EQ(driver.questionsAsked(), 1);
  EXPECT_EQ(results, (QStringList{"would copy", "would copy", "skipped: no creation time"}));
  EXPECT_EQ(target, Q(copyA.string()));
  EXPECT_EQ(summary, "2 would be copied, 1 skipped, 0 failed");
  EXPECT_EQ(title, "Copy file(s)");
  EXPECT_EQ(question, "Copy into " + Q(out.string()) + "?\n" + summary);
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{"Cancel", "Copy"}));
  EXPECT_TRUE(nothingCopied) << "nothing is copied before the answer";

  EXPECT_EQ(driver.cell(0, TFileListView::NewFileNameColumn), Q(copyA.string()));
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "copied");
  EXPECT_EQ(driver.window().Progress().Summary(), "2 copied, 1 skipped, 0 failed");
  EXPECT_EQ(ReadWholeFile(copyA), ReadWholeFile(clipA)) << "the source stays, the copy is whole";
  EXPECT_TRUE(fs::exists(out / "2016-01-02T03_04_05.000000Z.mov"));
}

TEST_F(MainWindowWorkflowTest, ACopyNotWantedCopiesNothingAndTheListShowsTheRenameAgain) {
  SelectAll();
  const fs::path out = folder / "out";
  fs::create_directory(out);
  driver.Answer(QStringList{Q(out.string())});
  driver.AnswerQuestion(false);
  driver.Click("RzButton3");
  EXPECT_EQ(driver.questionsAsked(), 1);
  EXPECT_TRUE(fs::is_empty(out));
  EXPECT_EQ(driver.cell(0, TFileListView::NewFileNameColumn), InFolder("2015-06-01T10_20_30.000000Z.mp4"));
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "would rename");
  EXPECT_EQ(driver.window().Progress().Summary(), "copy cancelled: nothing copied");
}

TEST_F(MainWindowWorkflowTest, ASecondCopyIntoAFolderKeepsTheOtherClipOfThatName) {
  const fs::path out = folder / "out";
  fs::create_directory(out);
  const std::string other = (out / "2015-06-01T10_20_30.000000Z.mp4").string();
  MakeMediaWithCreationTime(other, "2030-01-01T00:00:00.000000Z");
  const std::string otherBytes = ReadWholeFile(other);
  SelectAll();
  driver.Answer(QStringList{Q(out.string())});
  driver.AnswerQuestion(true);
  driver.Click("RzButton3");
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "failed: a different file has that name");
  EXPECT_EQ(driver.cell(1, TFileListView::ResultColumn), "copied");
  EXPECT_EQ(ReadWholeFile(other), otherBytes);

  driver.Answer(QStringList{Q(out.string())});
  driver.AnswerQuestion(true);
  driver.Click("RzButton3");
  EXPECT_EQ(driver.cell(1, TFileListView::ResultColumn), "skipped: already copied");
  EXPECT_EQ(ReadWholeFile(other), otherBytes);
}

TEST_F(MainWindowWorkflowTest, CopyWithAnEmptyListStillAsksAndACancelledChooserDoesNothing) {
  const fs::path out = folder / "out";
  fs::create_directory(out);
  driver.Answer(QStringList{Q(out.string())});
  driver.Click("RzButton3");
  EXPECT_EQ(driver.dialogsShown(), std::vector<QString>{"RzSelectFolderDialog1"});
  EXPECT_EQ(driver.questionsAsked(), 0) << "nothing to plan or to ask";
  EXPECT_TRUE(fs::is_empty(out));

  SelectAll();
  driver.Answer(std::nullopt);
  driver.Click("RzButton3");
  EXPECT_TRUE(fs::is_empty(out));
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "would rename") << "nothing ran";
  EXPECT_EQ(driver.unusedAnswers(), 0u);
  EXPECT_EQ(driver.questionsAsked(), 0);
}

TEST_F(MainWindowWorkflowTest, ALongRunShowsItsProgressAndKeepsASummaryAfterwards) {
  QSignalSpy steps(&driver.window().Progress(), &TProgressStrip::stepShown);
  bool visibleDuringRun = false;
  QObject::connect(&driver.window().Progress(), &TProgressStrip::stepShown,
                   [&] { visibleDuringRun = driver.window().Progress().isVisible(); });
  SelectAll();
  ASSERT_EQ(steps.count(), 3);
  EXPECT_EQ(steps[0][0].toString(), "Reading 1 of 3: " + Q(clipA));
  EXPECT_EQ(steps[2][0].toString(), "Reading 3 of 3: " + Q(plain));
  EXPECT_TRUE(visibleDuringRun);
  EXPECT_EQ(driver.window().Progress().Summary(), "3 files read, 2 with a creation time");

  driver.Click("RzButton2");
  ASSERT_EQ(steps.count(), 6);
  EXPECT_EQ(steps[3][0].toString(), "Renaming 1 of 3: " + Q(clipA));
  EXPECT_EQ(driver.window().Progress().Summary(), "2 renamed, 1 skipped, 0 failed");
  EXPECT_TRUE(driver.window().Progress().isVisible()) << "the summary stays in view until the next run";
}

TEST_F(MainWindowWorkflowTest, InputMadeDuringARunIsDroppedAndTheButtonsLookUnavailable) {
  auto* rename = driver.window().findChild<QPushButton*>("RzButton2");
  std::vector<bool> enabledAtStep;
  QObject::connect(&driver.window().Progress(), &TProgressStrip::stepShown, [&] {
    enabledAtStep.push_back(rename->isEnabled());
    if (enabledAtStep.size() != 1) return;
    // A click on "Rename file(s)" and a key press, as they would arrive from the system.
    const QPointF centre = QRectF(rename->rect()).center();
    const QPointF global = rename->mapToGlobal(centre);
    QCoreApplication::postEvent(
        rename, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(
        rename, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, {}));
    QCoreApplication::postEvent(rename, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, {}));
    QCoreApplication::postEvent(rename, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, {}));
  });
  SelectAll();
  QCoreApplication::processEvents();
  EXPECT_EQ(enabledAtStep, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(rename->isEnabled()) << "available again after the run";
  EXPECT_TRUE(fs::exists(clipA)) << "the click made during the run renamed nothing";
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "would rename");
}

TEST_F(MainWindowWorkflowTest, EscStopsAReadAndKeepsTheRowsReadSoFarWhileTheButtonsLookUnavailable) {
  auto* rename = driver.window().findChild<QPushButton*>("RzButton2");
  const QColor idleFace = QColor(rename->grab().toImage().pixel(3, 3));
  QColor busyFace;
  int steps = 0;
  // Esc as the second file's read begins: the first file's row is whole, and a lookup that
  // the stop cuts short gives no row.
  QObject::connect(&driver.window().Progress(), &TProgressStrip::stepShown, [&] {
    if (++steps != 2) return;
    busyFace = QColor(rename->grab().toImage().pixel(3, 3));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, {});
    QCoreApplication::sendEvent(&driver.list(), &escape);
  });
  SelectAll();
  EXPECT_NE(busyFace, idleFace) << "a button that cannot be used looks so";
  EXPECT_EQ(driver.rowCount(), 1) << "the row read before Esc came is kept, no further one is read";
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "would rename") << "the rows read are planned";
  EXPECT_EQ(driver.window().Progress().Summary(), "stopped after 1 of 3 files; 1 files read, 1 with a creation time");
  EXPECT_TRUE(rename->isEnabled());

  SelectAll();
  EXPECT_EQ(driver.rowCount(), 3) << "the next read starts afresh";
}

TEST_F(MainWindowWorkflowTest, CancelIsOfferedOnlyDuringAReadAndStopsItKeepingTheRowsRead) {
  auto* cancel = driver.window().findChild<QPushButton*>("btnCancel");
  ASSERT_NE(cancel, nullptr);
  std::vector<bool> cancelShown;
  int steps = 0;
  QObject::connect(&driver.window().Progress(), &TProgressStrip::stepShown, [&] {
    cancelShown.push_back(!cancel->isHidden());
    // A click like a user's, through the input that the window drops during a run.
    if (++steps == 3) QTest::mouseClick(cancel, Qt::LeftButton);
  });
  SelectAll();
  EXPECT_EQ(cancelShown, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(driver.rowCount(), 2);
  EXPECT_EQ(driver.window().Progress().Summary(), "stopped after 2 of 3 files; 2 files read, 2 with a creation time");
  EXPECT_TRUE(cancel->isHidden()) << "no Cancel once the read is over";

  steps = -100;  // no click this time
  cancelShown.clear();
  driver.Click("RzButton2");
  EXPECT_EQ(cancelShown, (std::vector<bool>{false, false})) << "a rename runs to its end";
  EXPECT_FALSE(fs::exists(clipA)) << "renamed";
}

TEST_F(MainWindowWorkflowTest, TabLeavesAFilledList) {
  SelectAll();
  QApplication::setActiveWindow(&driver.window());
  QTableWidget& list = driver.list();
  list.setFocus();
  list.setCurrentCell(0, 0);
  QTest::keyClick(&list, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), driver.window().findChild<QWidget*>("RzButton1"));
}

TEST_F(MainWindowWorkflowTest, PathsAreCutInTheMiddleWithTheFullPathAsTooltipAndColumnsFitTheList) {
  const std::string longName = MakeMediaWithCreationTime(folder / (std::string(120, 'n') + ".mp4"), Stamp1).string();
  driver.Answer(Paths({longName, clipB}));
  driver.Click("RzButton1");
  const QTableWidget& list = driver.list();
  for (int column : {TFileListView::FileNameColumn, TFileListView::NewFileNameColumn})
    EXPECT_NE(dynamic_cast<TPathDelegate*>(list.itemDelegateForColumn(column)), nullptr) << "column " << column;
  EXPECT_EQ(list.item(0, TFileListView::FileNameColumn)->toolTip(), Q(longName));
  EXPECT_EQ(list.item(1, TFileListView::FileNameColumn)->toolTip(), Q(clipB)) << "also a path that fits";
  EXPECT_EQ(list.item(0, TFileListView::ResultColumn)->text(), "would rename");
  EXPECT_EQ(list.item(0, TFileListView::ResultColumn)->toolTip(), "") << "a text that fits needs none";

  // The short columns are as wide as their texts, and all four are in view.
  const QFontMetrics metrics(list.font());
  EXPECT_GE(list.columnWidth(TFileListView::CreationTimeColumn), metrics.horizontalAdvance(Q(Stamp1)));
  EXPECT_GE(list.columnWidth(TFileListView::ResultColumn), metrics.horizontalAdvance("would rename"));
  EXPECT_LE(list.columnViewportPosition(TFileListView::ResultColumn) + list.columnWidth(TFileListView::ResultColumn),
            list.viewport()->width());
  EXPECT_EQ(list.columnWidth(TFileListView::FileNameColumn), list.columnWidth(TFileListView::NewFileNameColumn))
      << "the two paths share the rest";
}

TEST_F(MainWindowWorkflowTest, ACloseRequestDuringARunWaitsForTheRunToEnd) {
  std::vector<bool> visibleAtStep;
  QObject::connect(&driver.window().Progress(), &TProgressStrip::stepShown, [&] {
    visibleAtStep.push_back(driver.window().isVisible());
    if (visibleAtStep.size() == 1) driver.window().close();
  });
  SelectAll();
  EXPECT_EQ(visibleAtStep, (std::vector<bool>{true, true, true})) << "the run went on to its end";
  EXPECT_EQ(driver.rowCount(), 3);
  EXPECT_FALSE(driver.window().isVisible()) << "then the window closed";
}

TEST_F(MainWindowWorkflowTest, CloseEndsTheWindow) {
  ASSERT_TRUE(driver.window().isVisible());
  driver.Click("RzButton4");
  EXPECT_FALSE(driver.window().isVisible());
}

TEST_F(MainWindowWorkflowTest, TheAboutButtonMakesANewAboutBoxEachTimeAndDestroysIt) {
  std::vector<QWidget*> boxes;
  int destroyed = 0;
  for (int round = 0; round < 3; ++round) {
    // The box is modal: answer it from inside its own event loop with a click on the picture.
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      boxes.push_back(box);
      QObject::connect(box, &QObject::destroyed, [&] { ++destroyed; });
      EXPECT_EQ(box->parentWidget(), &driver.window()) << "owned by the main window";
      QTest::mouseClick(box->findChild<QWidget*>("Image2"), Qt::LeftButton, {}, QPoint(10, 10));
    });
    driver.Click("RzButton5");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed, round + 1) << "each box is destroyed once, when it closes";
  }
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_TRUE(driver.window().findChildren<QDialog*>().size() == 3)
      << "only the two choosers and the media inspector's picture save dialog stay";
}

TEST_F(MainWindowWorkflowTest, APictureOfTheWindowWithRowsIsWritten) {
  // Rows that were renamed, skipped and failed, and the run's summary.
  const std::string twin = MakeMediaWithCreationTime(folder / "twin.mp4", Stamp1).string();
  driver.Answer(Paths({clipA, clipB, plain, twin}));
  driver.Click("RzButton1");
  driver.Click("RzButton2");
  ASSERT_TRUE(driver.cell(3, TFileListView::ResultColumn).startsWith("failed: name taken by "));
  ASSERT_EQ(driver.window().Progress().Summary(), "2 renamed, 1 skipped, 1 failed");
  const QString picture = QStringLiteral(MORVANE_TEST_OUTPUT_DIR "/main-window.png");
  QFile::remove(picture);
  ASSERT_TRUE(driver.window().grab().save(picture));
  EXPECT_EQ(QImage(picture).size(), driver.window().size());
}

}  // namespace
