// The naming options in the window: chosen in their dialog like a user would, shown at once
// in the list's preview, used by rename and copy, and remembered between starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "support/FileTimes.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "window/FileListView.h"
#include "window/NamingDialog.h"
#include "window/PlainSettings.h"
#include "window/ProgressStrip.h"
#include "window/WindowDriver.h"

namespace {

namespace fs = std::filesystem;

class MainWindowNamingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clip = MakeMediaWithCreationTime(folder / "a.mp4", "2015-06-01T10:20:30.000000Z").string();
    driver.Answer(QStringList{Q(clip)});
    driver.Click("RzButton1");
    driver.Click("btnNaming");
    dialog = driver.window().NamingDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  }
  template <typename Control>
  Control* In(const char* name) {
    auto* control = dialog->findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Type(const char* name, const QString& text) {
    auto* edit = In<QLineEdit>(name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void Choose(const char* name, int index) {
    auto* combo = In<QComboBox>(name);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  QString NewName() { return driver.cell(0, TFileListView::NewFileNameColumn); }
  QString InFolder(const std::string& name) { return Q((folder / name).string()); }

  TempFolder folder;
  std::string clip;
  WindowDriver driver;
  TNamingDialog* dialog = nullptr;
};

TEST_F(MainWindowNamingTest, EachOptionChangesThePreviewAtOnceAndABadOneIsSaidAndNotTaken) {
  EXPECT_EQ(NewName(), InFolder("2015-06-01T10_20_30.000000Z.mp4"));
  Choose("cboPreset", 1);
  EXPECT_EQ(In<QLineEdit>("edtPattern")->text(), "%Y%m%d_%H%M%S");
  EXPECT_EQ(NewName(), InFolder("20150601_102030.mp4"));
  Choose("cboZone", 3);
  Type("edtZoneName", "Asia/Tokyo");
  EXPECT_EQ(NewName(), InFolder("20150601_192030.mp4")) << "UTC+9";
  Type("edtZoneName", "Nowhere/Atlantis");
  EXPECT_FALSE(In<QLabel>("lblProblem")->text().isEmpty());
  EXPECT_EQ(NewName(), InFolder("20150601_192030.mp4")) << "a zone that is not known is not taken";
  Choose("cboZone", 1);
  EXPECT_TRUE(In<QLabel>("lblProblem")->text().isEmpty());
  Type("edtPattern", "%Y/%m/%H%M%S %q");
  EXPECT_FALSE(In<QLabel>("lblProblem")->text().isEmpty()) << "%q is no field";
  EXPECT_EQ(In<QComboBox>("cboPreset")->currentIndex(), In<QComboBox>("cboPreset")->count() - 1) << "Custom";
  Choose("cboPreset", 3);
  EXPECT_EQ(NewName(), InFolder("2015/06/20150601_102030.mp4")) << "folders by month";
  EXPECT_TRUE(fs::exists(clip)) << "a preview touches no file";
}

TEST_F(MainWindowNamingTest, TheClockShiftAndTheCameraPresetChangeThePreview) {
  Choose("cboPreset", 4);
  EXPECT_EQ(In<QLineEdit>("edtPattern")->text(), "%Y%m%d_%H%M%S_%{model}");
  EXPECT_EQ(NewName(), InFolder("20150601_102030.mp4")) << "a clip without model: the field and its \"_\" go";
  Type("edtShift", "-1:00");
  EXPECT_EQ(NewName(), InFolder("20150601_092030.mp4"));
  Type("edtShift", "1h");
  const QString problem = In<QLabel>("lblProblem")->text();
  EXPECT_TRUE(problem.startsWith("Clock shift: ")) << problem.toStdString();
  EXPECT_EQ(NewName(), InFolder("20150601_092030.mp4")) << "an amount that is none is not taken";
}

// A pattern is taken when the user confirms it (Enter, leaving the field, closing the dialog),
// never a valid piece met on the way; an invalid one at closing leaves the pattern in force.
TEST_F(MainWindowNamingTest, APatternIsTakenOnlyWhenConfirmedAndAnInvalidOneLeavesThePatternInForce) {
  const QString asStored = InFolder("2015-06-01T10_20_30.000000Z.mp4");
  Type("edtPattern", "%Y/%q_%H");
  EXPECT_FALSE(In<QLabel>("lblProblem")->text().isEmpty()) << "%q is no field";
  EXPECT_EQ(NewName(), asStored) << "nothing typed is taken before it is confirmed";
  QTest::keyClick(In<QLineEdit>("edtPattern"), Qt::Key_Return);
  EXPECT_EQ(NewName(), asStored) << "Enter on an invalid pattern takes nothing";
  QTest::mouseClick(In<QPushButton>("btnNamingClose"), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(driver.window().NamingChoice().Format, "");
  const QString log = driver.window().findChild<QPlainTextEdit*>("mmoLog")->toPlainText();
  EXPECT_TRUE(log.contains(R"(pattern "%Y/%q_%H" not taken)")) << log.toStdString();
  EXPECT_TRUE(driver.window().Progress().Summary().contains(R"(pattern "%Y/%q_%H" not taken)"))
      << "said where the user looks, not only in the hidden log";
  driver.Click("RzButton2");
  EXPECT_TRUE(fs::exists(folder / "2015-06-01T10_20_30.000000Z.mp4")) << "the rename used the pattern shown";

  driver.Click("btnNaming");
  EXPECT_EQ(In<QLineEdit>("edtPattern")->text(), "") << "reopened, the dialog shows the pattern in force";
  Type("edtPattern", "%Y_%H");
  EXPECT_EQ(NewName(), asStored);
  QTest::keyClick(In<QLineEdit>("edtPattern"), Qt::Key_Return);
  EXPECT_EQ(NewName(), InFolder("2015_10.mp4")) << "Enter takes a valid pattern";
  Type("edtPattern", "%Y-%m");
  QFocusEvent tabbedAway(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(In<QLineEdit>("edtPattern"), &tabbedAway);
  EXPECT_EQ(NewName(), InFolder("2015-06.mp4")) << "leaving the field takes it";
  Type("edtPattern", "%m%d");
  QTest::keyClick(dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(NewName(), InFolder("0601.mp4")) << "closing takes a valid pattern";
}

TEST_F(MainWindowNamingTest, RenameAndCopyFollowTheChoiceMade) {
  Choose("cboPreset", 2);
  // A different file already has the copy's name: kept by default, replaced when asked.
  const fs::path out = folder / "out";
  fs::create_directory(out);
  const std::string other = (out / "2015-06-01 10.20.30.mp4").string();
  MakeMedia(other);
  const std::string otherBytes = ReadWholeFile(other);
  driver.Answer(QStringList{Q(out.string())});
  driver.AnswerQuestion(true);
  driver.Click("RzButton3");
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "failed: a different file has that name");
  EXPECT_EQ(ReadWholeFile(other), otherBytes);

  Choose("cboCopyRule", 1);
  driver.Answer(QStringList{Q(out.string())});
  driver.AnswerQuestion(true);
  driver.Click("RzButton3");
  EXPECT_EQ(ReadWholeFile(other), ReadWholeFile(clip)) << "replaced";

  In<QCheckBox>("chkUnique")->setChecked(true);
  EXPECT_FALSE(In<QComboBox>("cboCopyRule")->isEnabled()) << "unique names take the next free name instead";
  fs::copy_file(clip, folder / "2015-06-01 10.20.30.mp4");
  In<QCheckBox>("chkUnique")->setChecked(false);
  EXPECT_EQ(driver.cell(0, TFileListView::ResultColumn), "failed: name taken by 2015-06-01 10.20.30.mp4");
  In<QCheckBox>("chkUnique")->setChecked(true);
  EXPECT_EQ(NewName(), InFolder("2015-06-01 10.20.30_1.mp4"));
  driver.Click("RzButton2");
  EXPECT_TRUE(fs::exists(folder / "2015-06-01 10.20.30_1.mp4"));
  EXPECT_FALSE(fs::exists(clip));
}

// The choices the command line has beside pattern, zones and taken names reach the window's
// runs: the recorded offset, the dates from names and modification times (for files read
// after the choice), the modification time set by a rename, and companions left behind.
TEST_F(MainWindowNamingTest, TheCommandLinesOtherChoicesReachTheRun) {
  Choose("cboZone", 4);  // each file's recorded offset, UTC where it has none
  EXPECT_EQ(NewName(), InFolder("2015-06-01T10_20_30.000000+00_00.mp4"));
  Choose("cboZone", 0);

  In<QCheckBox>("chkDateFromName")->setChecked(true);
  In<QCheckBox>("chkDateFromMtime")->setChecked(true);
  const std::string named = MakeMedia(folder / "VID_20210410_104401.mp4").string();
  const std::string plain = MakeMedia(folder / "plain.mp4").string();
  const std::int64_t written = 1583017200'000000000;  // 2020-02-29 23:00:00 UTC
  ASSERT_TRUE(SetFileTimes(plain, {written, written}));
  driver.Answer(QStringList{Q(named), Q(plain)});
  driver.Click("RzButton1");
  ASSERT_EQ(driver.rowCount(), 3);
  EXPECT_EQ(driver.cell(1, TFileListView::CreationTimeColumn), "2021-04-10T10:44:01");
  EXPECT_EQ(driver.cell(2, TFileListView::CreationTimeColumn), "2020-02-29T23:00:00.000000Z");

  // A sidecar goes along with its file unless companions are switched off.
  std::ofstream(folder / "a.xmp") << "<x/>";
  In<QCheckBox>("chkCompanions")->setChecked(false);
  In<QCheckBox>("chkSetMtime")->setChecked(true);
  driver.Click("RzButton2");
  const fs::path renamed = folder / "2015-06-01T10_20_30.000000Z.mp4";
  ASSERT_TRUE(fs::exists(renamed));
  EXPECT_TRUE(fs::exists(folder / "a.xmp")) << "left where it was";
  EXPECT_EQ(FileTimesOf(renamed).modified, 1433154030'000000000) << "2015-06-01 10:20:30 UTC";
}

TEST(MainWindowNamingSettingsTest, TheChoiceIsRememberedBetweenStarts) {
  TempFolder folder;
  const QString settings = QString::fromStdString((folder / "window.conf").string());
  TNamingChoice choice;
  choice.Format = "%Y-%m-%d %H.%M.%S";
  choice.Zone = TNamingChoice::TZone::Named;
  choice.ZoneName = "Europe/Berlin";
  choice.AssumeZone = "local";
  choice.Shift = "+1 02:30";
  choice.UniqueNames = true;
  choice.SkipUnsetDates = true;
  choice.CopyReplaces = true;
  choice.SetMtime = true;
  choice.DateFromName = true;
  choice.DateFromMtime = true;
  choice.Companions = false;
  {
    TfrmDecoder first(nullptr, settings);
    first.SetNamingChoice(choice);
    first.close();
  }
  TfrmDecoder second(nullptr, settings);
  EXPECT_EQ(second.NamingChoice(), choice);
}

// A zone and an assumed zone gone from the system, next to a pattern that still stands.
TEST(MainWindowNamingSettingsTest, ARememberedChoiceKeepsWhatStandsAndSaysWhatItCouldNotTake) {
  TempFolder folder;
  const QString settings = QString::fromStdString((folder / "window.conf").string());
  TNamingChoice remembered;
  remembered.Format = "%Y%m%d_%H%M%S";
  remembered.Zone = TNamingChoice::TZone::Named;
  remembered.ZoneName = "Mars/Olympus";
  remembered.AssumeZone = "Nowhere/Atlantis";
  remembered.UniqueNames = true;
  {
    QSettings file(settings, PlainSettingsFormat());
    SaveNamingChoice(file, remembered);
  }
  WindowDriver driver(settings);
  const std::string clip = MakeMediaWithCreationTime(folder / "a.mp4", "2015-06-01T10:20:30.000000Z").string();
  driver.Answer(QStringList{Q(clip)});
  driver.Click("RzButton1");
  EXPECT_EQ(driver.cell(0, TFileListView::NewFileNameColumn), Q((folder / "20150601_102030.mp4").string()))
      << "the pattern stands, in UTC";
  EXPECT_TRUE(driver.window().NamingChoice().UniqueNames);
  const QString log = driver.window().findChild<QPlainTextEdit*>("mmoLog")->toPlainText();
  EXPECT_TRUE(log.contains(R"(time zone "Mars/Olympus" not known; UTC is used)")) << log.toStdString();
  EXPECT_TRUE(log.contains(R"(assumed zone "Nowhere/Atlantis" not known)")) << log.toStdString();

  driver.Click("btnNaming");
  TNamingDialog* dialog = driver.window().NamingDialog();
  ASSERT_NE(dialog, nullptr);
  auto* notTaken = dialog->findChild<QLabel*>("lblNotTaken");
  ASSERT_NE(notTaken, nullptr);
  EXPECT_TRUE(notTaken->isVisible());
  EXPECT_TRUE(notTaken->text().contains(R"(time zone "Mars/Olympus" not known; UTC is used)"));
  EXPECT_EQ(dialog->findChild<QComboBox*>("cboZone")->currentIndex(), 1) << "UTC";
  dialog->findChild<QCheckBox*>("chkSkipUnset")->setChecked(true);
  EXPECT_FALSE(notTaken->isVisible()) << "a choice of the user's own replaces the remembered one";
}

}  // namespace
