// The window's settings file as anything may leave it: damaged, cut short, edited by hand or
// written by something else. Each start must show the window, take what it can read and the
// defaults for the rest, and write a file the next start reads.
#include <gtest/gtest.h>

#include <QDataStream>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <cstdio>
#include <functional>
#include <string>

#include "support/TempFolder.h"
#include "window/FileListView.h"
#include "window/MainWindow.h"

namespace {

// Every byte as a \xHH escape: the settings reader takes it back as that byte.
std::string Escaped(const QByteArray& bytes) {
  std::string text;
  for (const char byte : bytes) {
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned char>(byte));
    text += escape;
  }
  return text;
}

// A list header's saved state whose first list claims `count` entries.
QByteArray HeaderStateClaiming(quint32 count) {
  QByteArray state;
  QDataStream out(&state, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << 0xff << 0 << int(Qt::Horizontal) << int(Qt::AscendingOrder) << -1 << false << count << 1 << 2;
  return state;
}

// A four-column list header's saved state with widths that no screen has, which add up to
// nothing in 32 bits: the toolkit's own state with its widths and total written over.
QByteArray HeaderStateWithHugeWidths() {
  QTableWidget table(0, 4);
  for (int column = 0; column < 4; ++column) table.horizontalHeader()->resizeSection(column, 100 + column);
  QByteArray state = table.horizontalHeader()->saveState();
  const auto bigEndian = [](qint32 value) {
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly) << value;
    return bytes;
  };
  const qint32 widths[] = {0x7fffff00, 0x7fffff00, 0x200, 0};
  for (int column = 0; column < 4; ++column)
    state.replace(bigEndian(100 + column) + bigEndian(1), bigEndian(widths[column]) + bigEndian(1));
  return state.replace(bigEndian(406), bigEndian(0));
}

// Window geometry as the toolkit saves it, with a screen number and places no screen has.
QByteArray GeometryOffEveryScreen() {
  QByteArray geometry;
  QDataStream out(&geometry, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_4_0);
  out << quint32(0x1D9D0CB) << quint16(3) << quint16(0);
  // A rectangle goes as left, top, right, bottom.
  const auto far = [&out] { out << qint32(2147483000) << qint32(-2147483000) << qint32(-2147483000) << qint32(2147483000); };
  far();
  far();
  out << qint32(-7) << quint8(1) << quint8(1) << qint32(0);
  far();
  return geometry;
}

// The text is made when the test runs: some of it needs the toolkit, which starts in main.
// `Taken`, where given, checks what the window still takes from the file.
struct THostileFile {
  const char* Name;
  std::function<std::string()> Text;
  std::function<void(const TfrmDecoder&)> Taken = {};
};

// A case shows as its name in the test's messages.
void PrintTo(const THostileFile& file, std::ostream* out) { *out << file.Name; }

std::vector<THostileFile> HostileFiles() {
  static const std::string hugeText(4 << 20, 'x');
  static constexpr char junk[] = "\x7f" "ELF\x02\x01\x01\0\0\0\0[\xff\xfe=\x80\x81\0\n\x01naming/zone=\x03\n";
  static constexpr char binaryValues[] = "[window]\nx=\0\xff" "1\nwidth=7\0\0\nheight=\x80\x80\n[list]\ncolumns=1\0" "2, \xff, 3, 4\n"
                                         "[folders]\nopen=/\0/etc\n[naming]\nformat=%Y\0\x01\x1b[2J\\x00\nunique=\0true\nzone=\xff\n";
  return {
      {"WrongTypes", [] { return std::string("[window]\ngeometry=12\n[list]\ncolumns=a, b, c\n[folders]\nopen=1, 2\n[naming]\nformat=@Invalid()\n"
       "zone=abc\nunique=maybe\n"); }},
      {"HugeAndNegativeNumbers", [] { return std::string("[naming]\nzone=99999999999999999999999\nskipUnsetDates=-1\n[list]\ncolumns=-5\n"); }},
      {"ZoneIndexOutOfRange", [] { return std::string("[naming]\nzone=-2147483648\n"); }},
      {"GarbageGeometryAndColumns", [] { return std::string("[window]\ngeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb\\xff\\xff)\n[list]\n"
                                    "columns=@ByteArray(\\0\\0\\0\\xff\\0\\0\\0\\0\\x7f\\xff)\n"); }},
      {"GeometryOffEveryScreen", [] { return std::string("[window]\ngeometry=@ByteArray(" + Escaped(GeometryOffEveryScreen()) + ")\n"); }},
      {"ColumnsClaimingHugeLists", [] { return std::string("[list]\ncolumns=@ByteArray(" + Escaped(HeaderStateClaiming(0xfffffff0)) + ")\n"); }},
      {"ColumnWidthsNoScreenHas", [] { return std::string("[list]\ncolumns=@ByteArray(" + Escaped(HeaderStateWithHugeWidths()) + ")\nwidths=2147483647 2147483647 -5 9\n"); }},
      {"CutShort", [] { return std::string("[window]\ngeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb\\0\\x3\\0\\0\\0\\0\\0"); }},
      {"BinaryJunk", [] { return std::string(junk, sizeof junk - 1); }},
      {"HugeStrings", [] { return std::string("[folders]\nopen=" + hugeText + "\n[naming]\nformat=%Y" + hugeText + "\nzoneName=" + hugeText +
                          "\nassumeZone=" + hugeText + "\nzone=3\n"); }},
      {"NestedGroups", [] { return std::string("[naming]\nzone\\zone\\zone=3\nformat\\x=%Y\n[naming%2Fnaming]\nformat=%Y\n[%5B%5D]\n=\n"); }},
      {"InvalidUtf8", [] { return std::string("[naming]\nformat=\xc3\x28%Y\xff\xfe\nzoneName=Europe/\xe2\x82\nzone=3\n[folders]\nopen=/\xc0\xaf\n"); }},
      {"VariantsClaimingHugeLists", [] { return std::string("[window]\ngeometry=@Variant(\\0\\0\\0\\v\\0\\xff\\xff\\xff\\xf0)\n"
       "width=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xf0)\n[list]\ncolumns=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xff)\n[naming]\n"
       "format=@Variant(\\0\\0\\0\\b\\0\\x7f\\xff\\xff\\xff)\nzone=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xff)\n"); }},
      {"VariantsOfOtherTypes", [] { return std::string("[list]\ncolumns=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\0\\x5QPen\\0\\xff)\n[naming]\n"
                               "format=@DateTime(\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff)\nunique=@Rect(1 2)\n"); }},
      {"ZoneNamesThatAreNoZones", [] { return std::string("[naming]\nzone=3\nzoneName=../../../../etc/passwd\nassumeZone=UTC+99999999999999999999\n"); }},
      // What the plain reader is given in the keys it reads now: numbers no screen has, or none.
      {"GeometryAndColumnsBeyondEveryScreen", [] { return std::string("[window]\nx=-999999\ny=999999\nwidth=999999\nheight=999999\n"
       "maximized=true\n[list]\ncolumns=2147483647, 999999, 2147483647, 2147483647\n"); }},
      {"GeometryAndColumnsBeyondInt", [] { return std::string("[window]\nx=2147483647\ny=2147483647\nwidth=2147483647\n"
       "height=99999999999999999999\n[list]\ncolumns=99999999999999999999, 1, 2, 3\n"); }},
      {"NegativeAndZeroSizes", [] { return std::string("[window]\nx=-5\ny=-5\nwidth=-800\nheight=0\n[list]\n"
       "columns=-2147483648, -1, 0, -300\n"); }},
      {"BinaryBytesInValues", [] { return std::string(binaryValues, sizeof binaryValues - 1); }},
      // One line far too long in a file short enough: that line is left out, not the lines after it.
      {"ExtremelyLongLine", [] { return "[naming]\nformat=%Y" + std::string(600 << 10, 'y') + "\nunique=true\n[list]\n"
                                        "columns=111, 122, 133, 144\n"; },
       [](const TfrmDecoder& window) {
         EXPECT_TRUE(window.NamingChoice().UniqueNames);
         EXPECT_TRUE(window.NamingChoice().Format.isEmpty());
         EXPECT_EQ(window.findChild<QTableWidget*>(QStringLiteral("ListView1"))->columnWidth(TFileListView::FileNameColumn), 111);
       }},
  };
}

class MainWindowHostileSettingsTest : public ::testing::TestWithParam<THostileFile> {};

// The first start sets a width of its own: the second finds it in the file the first wrote,
// which holds nothing of the hostile one that could grow.
TEST_P(MainWindowHostileSettingsTest, TheWindowStartsWithWhatItCanReadAndSavesAFileTheNextStartReads) {
  TempFolder folder;
  const QString settings = QString::fromStdString(folder.WriteFile("window.conf", GetParam().Text()).string());
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (int start = 0; start < 2; ++start) {
    TfrmDecoder window(nullptr, settings);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "start " << start;
    EXPECT_TRUE(screen.intersects(window.frameGeometry())) << "start " << start;
    EXPECT_LE(window.width(), screen.width()) << "start " << start;
    EXPECT_LE(window.height(), screen.height()) << "start " << start;
    QString problem;
    EXPECT_TRUE(ChoiceRunOptions(window.NamingChoice(), problem)) << problem.toStdString();
    auto* list = window.findChild<QTableWidget*>(QStringLiteral("ListView1"));
    for (int column = 0; column < list->columnCount(); ++column) {
      EXPECT_LE(list->columnWidth(column), 2 * screen.width()) << "start " << start << ", column " << column;
      EXPECT_GT(list->columnWidth(column), 0) << "start " << start << ", column " << column;
    }
    if (start == 0) {
      if (GetParam().Taken) GetParam().Taken(window);
      list->horizontalHeader()->resizeSection(TFileListView::CreationTimeColumn, 131);
    } else {
      EXPECT_EQ(list->columnWidth(TFileListView::CreationTimeColumn), 131);
    }
    window.close();
    EXPECT_LT(QFileInfo(settings).size(), 16 << 10) << "start " << start;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, MainWindowHostileSettingsTest, ::testing::ValuesIn(HostileFiles()),
                         [](const ::testing::TestParamInfo<THostileFile>& info) { return std::string(info.param.Name); });

}  // namespace
