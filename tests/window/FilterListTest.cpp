#include <gtest/gtest.h>

#include "window/FilterList.h"
#include "window/MainWindow.h"

namespace {

TEST(FilterListTest, PairsBecomeDescriptionsWithBlankSeparatedPatterns) {
  EXPECT_EQ(ConvertFilterList("Video Files|*.MP4;*.MOV;|All Files|*.*"),
            QStringList({"Video Files (*.MP4 *.MOV)", "All Files (*)"}));
}

TEST(FilterListTest, EmptyPatternsAndIncompletePairsAreLeftOut) {
  EXPECT_EQ(ConvertFilterList("A|;;*.X; ;|B||C"), QStringList({"A (*.X)"}));
  EXPECT_TRUE(ConvertFilterList("").isEmpty());
}

TEST(FilterListTest, TheOpenDialogsListGivesFivePairsInOrder) {
  const QStringList filters = ConvertFilterList(QString::fromStdString(TfrmDecoder::OpenDialogFilter()));
  ASSERT_EQ(filters.size(), 5);
  EXPECT_TRUE(filters[0].startsWith("Video/Audio/Picture Files (*.3GP *.ASF *.AVI "));
  // The first filter also offers the kinds that a folder walk takes beside the three lists.
  EXPECT_TRUE(filters[0].endsWith(" *.JPEG *.JPG *.PNG *.3G2 *.3GPP *.M2TS *.M4B *.M4V *.MTS *.OPUS *.QT *.WEBM *.HEIC *.HEIF)"));
  EXPECT_EQ(filters[0].count(u'*'), 53);
  EXPECT_EQ(filters[1].count(u'*'), 20);
  EXPECT_TRUE(filters[1].startsWith("Video Files (") && filters[1].endsWith("*.WMV)"));
  EXPECT_EQ(filters[2].count(u'*'), 17);
  EXPECT_TRUE(filters[2].startsWith("Audio Files (") && filters[2].endsWith("*.WMA)"));
  EXPECT_EQ(filters[3], "Picture Files (*.BMP *.GIF *.JPEG *.JPG *.PNG)");
  EXPECT_EQ(filters[4], "All Files (*)");
}

}  // namespace
