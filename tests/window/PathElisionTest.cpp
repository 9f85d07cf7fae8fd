// Paths cut to a column's width: the file's name stays whole, the folder is cut in the middle.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

#include "window/PathElision.h"

namespace {

const QString kEllipsis = QString(QChar(0x2026));

TEST(PathElisionTest, KeepsTheNameWholeAndCutsTheFolderInTheMiddle) {
  const QFontMetrics metrics(QApplication::font());
  const QString path = "/home/someone/Videos/2019 summer holiday/phone/camera/VID_20190704_101530.mp4";
  EXPECT_EQ(ElidePath(path, metrics, metrics.horizontalAdvance(path)), path) << "a path that fits stays whole";

  const int width = metrics.horizontalAdvance("/home/someone/Videos/VID_20190704_101530.mp4");
  const QString cut = ElidePath(path, metrics, width);
  EXPECT_LE(metrics.horizontalAdvance(cut), width);
  EXPECT_TRUE(cut.endsWith("/VID_20190704_101530.mp4")) << cut.toStdString();
  EXPECT_TRUE(cut.startsWith("/home")) << "the folder keeps its start: " << cut.toStdString();
  EXPECT_TRUE(cut.contains(kEllipsis)) << cut.toStdString();
}

TEST(PathElisionTest, ANameThatAloneDoesNotFitIsCutInItsMiddle) {
  const QFontMetrics metrics(QApplication::font());
  const QString name = QString(80, u'n') + "_end.mp4";
  const int width = metrics.horizontalAdvance(QString(30, u'n'));
  const QString cut = ElidePath("/videos/" + name, metrics, width);
  EXPECT_LE(metrics.horizontalAdvance(cut), width);
  EXPECT_TRUE(cut.startsWith("nnn") && cut.endsWith("_end.mp4") && cut.contains(kEllipsis)) << cut.toStdString();
  EXPECT_FALSE(cut.contains("/videos")) << "no room is left for the folder";
}

}  // namespace
