// The window's media tools on the offscreen platform: opening a file, stepping, saving the
// frame picture and the maker's web page, through the dialog, opener and message seams.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTime>
#include <QUrl>
#include <filesystem>

#include "window/FramePreview.h"
#include "window/MediaInspector.h"
#include "window/VendorPage.h"
#include "window/WindowDriver.h"
#include "support/FrameMedia.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace {

const char* const kToolNames[] = {"btnOpen",   "btnSave",   "btnNextFrame", "btnPreviousFrame", "btnNextKF",
                                  "btnPreviousKF", "btnWebSite", "btnExit",  "cboLogLevel",      "mmoLog",
                                  "lblPTS",    "FramePreview"};

double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

class InspectorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RequireMediaLibraries();
    media_ = new TempFolder;
    clip_ = MakeH264Clip(*media_ / "clip.mp4");
  }
  static void TearDownTestSuite() {
    delete media_;
    media_ = nullptr;
  }
  void SetUp() override {
    driver.window().Inspector().SetUrlOpener([this](const QUrl& address) { opened_.push_back(address); });
    driver.window().Inspector().SetMessageShower([this](const QString& text) { messages_.push_back(text); });
  }

  QStringList LogLines() { return View<QPlainTextEdit>("mmoLog")->toPlainText().split(u'\n'); }
  std::string Position() { return View<QLabel>("lblPTS")->text().toStdString(); }
  // The position line of the clip's frame number `index`, with the frame's kind as ffprobe
  // gives it (frames of 40 ms, 3 seconds in all).
  static std::string Expected(int index) {
    static const std::vector<std::string> kinds = ProbeFrames(clip_);
    const std::string& kind = kinds.at(static_cast<std::size_t>(index));
    const std::string time = QTime(0, 0).addMSecs(index * 40).toString("hh:mm:ss.zzz").toStdString();
    return time + " / 00:00:03.000, " + (kind[0] == 'K' ? "key frame (" : "other frame (") + kind.substr(2) + ")";
  }
  template <typename T>
  T* View(const char* name) {
    return driver.window().findChild<T*>(QString::fromLatin1(name));
  }
  void OpenClip(const fs::path& file) {
    driver.window().SetMediaToolsVisible(true);
    driver.Answer(QStringList{QString::fromStdString(file.string())});
    driver.Click("btnOpen");
  }

  static TempFolder* media_;
  static fs::path clip_;
  WindowDriver driver;
  TempFolder folder_;
  std::vector<QUrl> opened_;
  std::vector<QString> messages_;
};

TempFolder* InspectorTest::media_ = nullptr;
fs::path InspectorTest::clip_;

TEST_F(InspectorTest, TheToolsAreHiddenAtStartAndTheirToggleRestoresTheWindow) {
  TfrmDecoder& window = driver.window();
  const QSize designed = window.size();
  const QRect openPlace = View<QPushButton>("btnOpen")->geometry();
  for (const char* name : kToolNames) EXPECT_FALSE(View<QWidget>(name)->isVisible()) << name;

  auto* toggle = View<QAction>("actMediaTools");
  ASSERT_NE(toggle, nullptr);
  EXPECT_TRUE(window.actions().contains(toggle)) << "offered by the window's context menu";
  EXPECT_EQ(toggle->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
  QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
  ASSERT_TRUE(window.MediaToolsVisible());
  for (const char* name : kToolNames) EXPECT_TRUE(View<QWidget>(name)->isVisible()) << name;
  EXPECT_EQ(Position(), "") << "no control's name is shown as its text";
  EXPECT_EQ(View<QPlainTextEdit>("mmoLog")->toPlainText(), "");
  const QRect log = View<QWidget>("mmoLog")->geometry();
  EXPECT_LE(log.right(), window.width()) << "the window is wide enough for the log view";
  EXPECT_GE(View<QWidget>("lblPTS")->width(), 150);

  QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
  EXPECT_FALSE(window.MediaToolsVisible());
  EXPECT_FALSE(toggle->isChecked());
  EXPECT_EQ(window.size(), designed);
  EXPECT_EQ(View<QPushButton>("btnOpen")->geometry(), openPlace);
  for (const char* name : kToolNames) EXPECT_FALSE(View<QWidget>(name)->isVisible()) << name;
}

TEST_F(InspectorTest, OpenReportsTheFileAndShowsItsFirstFrame) {
  OpenClip(clip_);
  const QStringList lines = LogLines();
  const int start = lines.indexOf("***FFDecoder.FileInfoText");
  ASSERT_GE(start, 0) << lines.join(u'\n').toStdString();
  EXPECT_EQ(lines[start + 1], "File Name: " + QString::fromStdString(clip_.string()));
  const int size = lines.indexOf("File Size: " + QString::number(fs::file_size(clip_)));
  ASSERT_GT(size, start);
  EXPECT_EQ(lines[size - 1], "") << "an empty line after the information text";
  EXPECT_EQ(lines[size + 1], "File Duration: 00:00:03.000");
  EXPECT_EQ(lines[size + 2], "Stream #0: Video");
  EXPECT_EQ(lines[size + 6], "  Frame size (width X height): 160x120");
  EXPECT_FALSE(View<QPlainTextEdit>("mmoLog")->toPlainText().contains(u'\r')) << "no stray CR";
  EXPECT_FALSE(lines.join(u'\n').contains("***Decode failed"));

  EXPECT_EQ(Position(), Expected(0));
  const QImage& picture = driver.window().Inspector().FramePicture();
  ASSERT_EQ(picture.size(), QSize(160, 120));
  EXPECT_EQ(View<TFramePreview>("FramePreview")->Picture().constBits(), picture.constBits());
  const QString shot = QStringLiteral(MORVANE_TEST_OUTPUT_DIR "/inspector-open.png");
  QFile::remove(shot);
  ASSERT_TRUE(driver.window().grab().save(shot));
}

TEST_F(InspectorTest, TheFourStepsMoveThePictureAndThePosition) {
  OpenClip(clip_);
  const QImage first = driver.window().Inspector().FramePicture().copy();
  driver.Click("btnNextFrame");
  EXPECT_EQ(Position(), Expected(1));
  EXPECT_NE(driver.window().Inspector().FramePicture(), first);
  driver.Click("btnNextKF");
  EXPECT_EQ(Position(), Expected(25));
  driver.Click("btnNextKF");
  EXPECT_EQ(Position(), Expected(50));
  driver.Click("btnPreviousFrame");
  EXPECT_EQ(Position(), Expected(49));
  driver.Click("btnPreviousKF");
  EXPECT_EQ(Position(), Expected(25));
  const QString shot = QStringLiteral(MORVANE_TEST_OUTPUT_DIR "/inspector-step.png");
  QFile::remove(shot);
  ASSERT_TRUE(driver.window().grab().save(shot));
  driver.Click("btnPreviousKF");
  driver.Click("btnPreviousFrame");
  EXPECT_EQ(Position(), Expected(0));
  EXPECT_EQ(driver.window().Inspector().FramePicture(), first);
  EXPECT_FALSE(LogLines().join(u'\n').contains("***Decode failed"));
}

TEST_F(InspectorTest, ARowOpensInTheToolsByDoubleClickOrEnterUprightWithItsPositionInView) {
  const fs::path portrait = MakeTurnedClip(folder_ / "portrait.mp4", 64, 36, 90);
  driver.Answer(QStringList{QString::fromStdString(clip_.string()), QString::fromStdString(portrait.string())});
  driver.Click("RzButton1");
  ASSERT_EQ(driver.rowCount(), 2);
  QTableWidget& list = driver.list();
  const QRect second = list.visualRect(list.model()->index(1, 0));
  // A double click as the system delivers it: press, release, then the second press as a
  // double click.
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, second.center(), list.viewport()->mapToGlobal(second.center()),
                          Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(list.viewport(), &doubleClick);
  ASSERT_TRUE(driver.window().MediaToolsVisible());
  EXPECT_EQ(driver.window().Inspector().FramePicture().size(), QSize(36, 64)) << "shown upright, as it was filmed";
  EXPECT_TRUE(LogLines().contains("File Name: " + QString::fromStdString(portrait.string())));
  EXPECT_FALSE(LogLines().contains("mmoLog")) << "the control's name is not shown, whatever came before";
  for (const char* name : {"cboLogLevel", "FramePreview", "ListView1"})
    EXPECT_FALSE(View<QWidget>("btnNaming")->geometry().intersects(View<QWidget>(name)->geometry())) << name;

  list.setCurrentCell(0, 0);
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Return);
  EXPECT_EQ(driver.window().Inspector().FramePicture().size(), QSize(160, 120));
  EXPECT_EQ(Position(), Expected(0));
  // The read's summary stays at the bottom; the position line is not under it.
  const QWidget* strip = View<QWidget>("ProgressStrip");
  ASSERT_TRUE(strip->isVisible());
  EXPECT_FALSE(strip->geometry().intersects(View<QWidget>("lblPTS")->geometry()));
  EXPECT_FALSE(strip->geometry().intersects(View<QWidget>("FramePreview")->geometry()));
}

TEST_F(InspectorTest, FailuresGoToTheLogView) {
  const fs::path missing = folder_ / "missing.mp4";
  OpenClip(missing);
  QStringList lines = LogLines();
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines.mid(lines.size() - 3),
            (QStringList{"", "***File load error: " + QString::fromStdString(missing.string()) +
                                 ": No such file or directory",
                         ""}));

  OpenClip(MakeMedia(folder_ / "tone.m4a", AudioOnly()));
  EXPECT_FALSE(LogLines().join(u'\n').contains("***Decode failed")) << "no step for a file without video";
  EXPECT_TRUE(LogLines().contains("Stream #0: Audio"));
  driver.Click("btnNextFrame");
  EXPECT_EQ(LogLines().last(), "***Decode failed: no video stream.");
  EXPECT_TRUE(driver.window().Inspector().FramePicture().isNull());
}

TEST_F(InspectorTest, SaveWritesWhatThePreviewShows) {
  auto* dialog = View<QFileDialog>("SavePictureDialog1");
  ASSERT_NE(dialog, nullptr);
  driver.Click("btnSave");
  EXPECT_TRUE(driver.dialogsShown().empty()) << "no picture, no dialog";

  OpenClip(clip_);
  driver.Click("btnNextKF");
  const QImage shown = driver.window().Inspector().FramePicture().copy();
  const fs::path bmp = folder_ / "frame.BMP";
  driver.Answer(QStringList{QString::fromStdString(bmp.string())});
  driver.Click("btnSave");
  EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).completeBaseName(), "clip") << "preset to the bare name";
  QImage saved(QString::fromStdString(bmp.string()), "BMP");
  ASSERT_EQ(saved.size(), shown.size());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));

  const fs::path jpeg = folder_ / "frame.png";
  driver.Answer(QStringList{QString::fromStdString(jpeg.string())});
  driver.Click("btnSave");
  QImage decoded(QString::fromStdString(jpeg.string()), "JPEG");
  ASSERT_EQ(decoded.size(), shown.size()) << "JPEG data under any other name";
  // Sharp colour edges lose some colour to the JPEG's halved chroma; swapped red and
  // blue would differ by far more.
  EXPECT_LT(MeanDifference(decoded, shown), 8.0);

  driver.Answer(std::nullopt);
  driver.Click("btnSave");
  const fs::path unwritable = folder_ / "no" / "frame.jpg";
  driver.Answer(QStringList{QString::fromStdString(unwritable.string())});
  driver.Click("btnSave");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].contains(QString::fromStdString(unwritable.string())));
  EXPECT_TRUE(messages_[0].contains("No such file or directory"));

  // The open clip itself is no place for a picture.
  const std::string clipBytes = ReadWholeFile(clip_);
  driver.Answer(QStringList{QString::fromStdString(clip_.string())});
  driver.Click("btnSave");
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(messages_[1].contains("this is the media file the frame comes from"));
  EXPECT_EQ(ReadWholeFile(clip_), clipBytes);
  EXPECT_EQ(driver.unusedAnswers(), 0u);
}

TEST_F(InspectorTest, WebSiteHandsTheMakersPageToTheOpener) {
  driver.Click("btnWebSite");
  ASSERT_EQ(opened_.size(), 1u);
  const QUrl& address = opened_[0];
  EXPECT_EQ(address.host(), "vendor.invalid");
  EXPECT_EQ(address.path(), "/");
  EXPECT_EQ(address.query(), "from=exe_inspector_test");
}

TEST(VendorPageTest, TheProgramsNameIsCleanedAndTheAddressLowerCased) {
  EXPECT_EQ(VendorPageAddress("https://Vendor.Example", "/opt/My Tool [2].exe"),
            "https://vendor.example/?from=exe_my_tool_2");
  EXPECT_EQ(VendorPageAddress("https://v.invalid", "/x/plain"), "https://v.invalid/?from=exe_plain");
  EXPECT_EQ(VendorPageAddress("https://v.invalid", "/x/ÄB.tar.exe"), "https://v.invalid/?from=exe_Äb.tar")
      << "only A to Z change";
}

}  // namespace
