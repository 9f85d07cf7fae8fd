// The about box as real widgets: layout, version line, which clicks close it, and the
// modal showing that destroys each box exactly once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <memory>

#include "about/FormAbout.h"
#include "platform/FileSystem.h"

namespace {

const std::string kProgram = MORVANE_EXE;

// This test binary carries no version block.
std::string PlainExecutable() { return platform::GetExeFileName(); }

TEST(FormAbout, LayoutAndTexts) {
  TFormAbout box(nullptr, kProgram);
  EXPECT_EQ(box.windowTitle(), "About");
  EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(box.size(), QSize(406, 385));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());
  EXPECT_EQ(box.palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(box.font().pixelSize(), 13);

  const auto* image2 = box.findChild<QLabel*>("Image2");
  const auto* label2 = box.findChild<QLabel*>("Label2");
  const auto* labelInfo = box.findChild<QLabel*>("LabelInfo");
  ASSERT_TRUE(image2 && label2 && labelInfo);
  EXPECT_EQ(image2->geometry(), QRect(0, 0, 406, 385));
  EXPECT_EQ(image2->pixmap().size(), QSize(406, 385));
  EXPECT_EQ(label2->geometry(), QRect(74, 155, 315, 30));
  EXPECT_EQ(labelInfo->geometry(), QRect(74, 225, 315, 13));
  for (const QLabel* label : {label2, labelInfo}) {
    EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_FALSE(label->wordWrap());
    // The labels stand on the picture, not under it.
    EXPECT_EQ(box.childAt(label->geometry().center()), label);
  }
  const QString family = QFontInfo(labelInfo->font()).family();
  EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Korean)) << family.toStdString();
  EXPECT_EQ(label2->text(), "Morvane");
  EXPECT_EQ(labelInfo->text(), "Ver. 0.0.0.2");
}

TEST(FormAbout, FileWithoutBlockShowsAnEmptyVersion) {
  TFormAbout box(nullptr, PlainExecutable());
  EXPECT_EQ(box.LabelInfo()->text(), "Ver. ");
}

TEST(FormAbout, DefaultReadsTheRunningExecutable) {
  TFormAbout box;
  EXPECT_EQ(box.LabelInfo()->text(), "Ver. ");  // this test binary carries no block
}

// The box shown on its own (not modal), so that a click's effect can be watched.
class ShownAboutBox : public ::testing::Test {
 protected:
  void SetUp() override {
    box_ = std::make_unique<TFormAbout>(nullptr, kProgram);
    box_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box_.get()));
  }
  std::unique_ptr<TFormAbout> box_;
};

TEST_F(ShownAboutBox, ClickOnThePictureCloses) {
  QTest::mouseClick(box_->Image2(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_FALSE(box_->isVisible());
}

TEST_F(ShownAboutBox, ClickOnTheBoardBesideTheLabelsCloses) {
  QTest::mouseClick(box_->Image2(), Qt::LeftButton, {}, QPoint(231, 200));
  EXPECT_FALSE(box_->isVisible());
}

TEST_F(ShownAboutBox, ClickOnALabelDoesNotClose) {
  QTest::mouseClick(box_->Label2(), Qt::LeftButton, {}, QPoint(150, 15));
  EXPECT_TRUE(box_->isVisible());
  QTest::mouseClick(box_->LabelInfo(), Qt::LeftButton, {}, QPoint(150, 6));
  EXPECT_TRUE(box_->isVisible());
  QTest::mouseDClick(box_->LabelInfo(), Qt::LeftButton, {}, QPoint(150, 6));
  EXPECT_TRUE(box_->isVisible());
}

TEST_F(ShownAboutBox, RightClickOnThePictureDoesNotClose) {
  QTest::mouseClick(box_->Image2(), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_TRUE(box_->isVisible());
}

TEST_F(ShownAboutBox, ClickOnTheBoxItselfCloses) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), box_->mapToGlobal(QPointF(3, 3)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), box_->mapToGlobal(QPointF(3, 3)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(box_.get(), &press);
  EXPECT_TRUE(box_->isVisible());
  QApplication::sendEvent(box_.get(), &release);
  EXPECT_FALSE(box_->isVisible());
}

// ShowAboutBox runs a modal loop; a timer inside that loop finds the box, watches its
// destruction and clicks the picture.
struct ModalRun {
  QPointer<TFormAbout> box;
  int destroyed = 0;
  QWidget* parent = nullptr;
  QRect geometry;
  QString versionLine;
};

// `context` ends the timers with the test; the second one rescues a run whose box did not
// close, so that the test fails instead of hanging.
void ClickPictureOfModalBox(ModalRun& run, QObject& context) {
  QTimer::singleShot(5000, &context, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  QTimer::singleShot(0, &context, [&run] {
    run.box = qobject_cast<TFormAbout*>(QApplication::activeModalWidget());
    if (!run.box) return;
    QObject::connect(run.box, &QObject::destroyed, [&run] { ++run.destroyed; });
    run.parent = run.box->parentWidget();
    run.geometry = run.box->geometry();
    run.versionLine = run.box->LabelInfo()->text();
    QTest::mouseClick(run.box->Image2(), Qt::LeftButton, {}, QPoint(10, 370));
  });
}

TEST(ShowAboutBox, EachBoxIsOwnedCentredAndDestroyedOnce) {
  QWidget owner;
  owner.setGeometry(120, 90, 560, 460);
  owner.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
  for (int round = 0; round < 5; ++round) {
    ModalRun run;
    QObject context;
    ClickPictureOfModalBox(run, context);
    ShowAboutBox(&owner);
    ASSERT_FALSE(run.box.isNull() && run.destroyed == 0) << "no modal box was seen, round " << round;
    EXPECT_TRUE(run.box.isNull());
    EXPECT_EQ(run.destroyed, 1) << "round " << round;
    EXPECT_EQ(run.parent, &owner);
    EXPECT_EQ(run.geometry.center(), owner.frameGeometry().center());
    EXPECT_EQ(run.versionLine, "Ver. ");  // the running test binary carries no block
    EXPECT_TRUE(owner.findChildren<TFormAbout*>().isEmpty());
    QApplication::processEvents();  // a deferred second deletion would show here
    EXPECT_EQ(run.destroyed, 1);
  }
}

// Closing the owner while the box is up takes the box with it, still exactly once.
TEST(ShowAboutBox, OwnerGoingFirstDestroysTheBoxOnce) {
  auto* owner = new QWidget;
  owner->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(owner));
  ModalRun run;
  QTimer::singleShot(0, [&run, owner] {
    run.box = qobject_cast<TFormAbout*>(QApplication::activeModalWidget());
    if (run.box) QObject::connect(run.box, &QObject::destroyed, [&run] { ++run.destroyed; });
    delete owner;
  });
  ShowAboutBox(owner);
  EXPECT_TRUE(run.box.isNull());
  EXPECT_EQ(run.destroyed, 1);
}

TEST(FormAboutPicture, WritesAPictureOfTheBox) {
  TFormAbout box(nullptr, kProgram);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  const std::filesystem::path file = std::filesystem::path(MORVANE_ABOUT_TEST_OUTPUT) / "about-box.png";
  std::filesystem::remove(file);
  ASSERT_TRUE(box.grab().save(QString::fromStdString(file.string()), "PNG"));
  ASSERT_TRUE(std::filesystem::exists(file));
  QImage written(QString::fromStdString(file.string()));
  ASSERT_FALSE(written.isNull());
  EXPECT_EQ(written.size(), QSize(406, 385));
  // Text was drawn inside the version label's box: some pixel there is dark.
  bool dark = false;
  for (int y = 225; y < 238; ++y)
    for (int x = 74; x < 389; ++x) dark = dark || qGray(written.pixel(x, y)) < 100;
  EXPECT_TRUE(dark);
}

}  // namespace
