// The main window's controls, captions, places, look and dialogs, on real widgets.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>

#include "support/TempFolder.h"
#include <filesystem>
#include "window/FileListView.h"
#include "window/MediaInspector.h"
#include "window/StyledButton.h"
#include "window/WindowDriver.h"

namespace {

struct Placement {
  const char* name;
  QRect geometry;
  const char* caption;  // nullptr: not a button or label
  bool visible;
};

const Placement kControls[] = {
    {"Label6", {10, 5, 700, 12}, "이 프로그램은 멀티미디어 파일에 포함된 생성 날짜를 파일명으로 변경 하는 프로그램입니다.", true},
    {"ListView1", {10, 55, 700, 311}, nullptr, true},
    {"RzButton1", {10, 25, 121, 25}, "Select file(s)", true},
    {"RzButton2", {140, 25, 121, 25}, "Rename file(s)", true},
    {"RzButton3", {270, 25, 121, 25}, "Copy file(s)", true},
    {"RzButton4", {590, 25, 121, 25}, "Close", true},
    {"RzButton5", {520, 25, 65, 25}, "어바우트~", true},
    {"btnUndo", {400, 25, 112, 25}, "Undo last rename", true},
    {"btnOpen", {61, 398, 45, 25}, "Open", false},
    {"btnSave", {25, 328, 45, 25}, "Save", false},
    {"btnNextFrame", {69, 328, 75, 25}, "Next Frame", false},
    {"btnPreviousFrame", {143, 328, 95, 25}, "Previous Frame", false},
    {"btnNextKF", {237, 328, 67, 25}, "Next K-F", false},
    {"btnPreviousKF", {303, 328, 75, 25}, "Previous K-F", false},
    {"btnWebSite", {377, 328, 67, 25}, "Web Site", false},
    {"btnExit", {443, 328, 45, 25}, "Exit", false},
    {"cboLogLevel", {498, 330, 57, 20}, nullptr, false},
    {"mmoLog", {781, 7, 305, 274}, nullptr, false},
    {"lblPTS", {561, 333, 36, 12}, "lblPTS", false},
};

QString Caption(const QWidget* control) {
  if (auto* button = qobject_cast<const QPushButton*>(control)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  return {};
}

class MainWindowLayoutTest : public ::testing::Test {
 protected:
  QWidget* Control(const char* name) { return driver.window().findChild<QWidget*>(QString::fromLatin1(name)); }
  void ExpectEveryControlInPlace() {
    for (const Placement& expected : kControls) {
      const QWidget* control = Control(expected.name);
      ASSERT_NE(control, nullptr) << expected.name;
      EXPECT_EQ(control->geometry(), expected.geometry) << expected.name;
      EXPECT_EQ(control->isVisible(), expected.visible) << expected.name;
      if (expected.caption) {
        EXPECT_EQ(Caption(control), QString::fromUtf8(expected.caption)) << expected.name;
      }
    }
  }
  WindowDriver driver;
};

TEST_F(MainWindowLayoutTest, TheWindowHasItsCaptionSizeAndFont) {
  TfrmDecoder& window = driver.window();
  EXPECT_EQ(window.windowTitle(), "Morvane. v0.2");
  EXPECT_EQ(window.objectName(), "frmDecoder");
  // The offscreen platform draws no frame, so the outer size is the client size.
  EXPECT_EQ(window.frameGeometry().size(), QSize(740, 417));
  EXPECT_EQ(window.font().pixelSize(), 12);
  EXPECT_TRUE(QFontInfo(window.font()).family().contains("Nanum") || !QFontInfo(window.font()).family().isEmpty());
  EXPECT_TRUE(QFontMetrics(window.font()).inFont(QChar(u'어'))) << "the window font draws Korean";
  EXPECT_TRUE(Control("Label6")->font().bold());
  EXPECT_EQ(qobject_cast<QLabel*>(Control("Label6"))->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

TEST_F(MainWindowLayoutTest, EveryControlHasItsPlaceCaptionAndVisibility) { ExpectEveryControlInPlace(); }

TEST_F(MainWindowLayoutTest, TheListGrowsWithTheWindowAndTheButtonsKeepTheirEdges) {
  const QSize before = driver.window().size();
  const QSize grow(360, 283);
  driver.window().resize(before + grow);
  QTest::qWait(0);
  EXPECT_EQ(Control("RzButton1")->geometry(), QRect(10, 25, 121, 25)) << "keeps its place at the left edge";
  EXPECT_EQ(Control("RzButton3")->geometry(), QRect(270, 25, 121, 25));
  // Grown from the design's outer size.
  const int dx = driver.window().frameGeometry().width() - 740;
  const int dy = driver.window().frameGeometry().height() - 417;
  EXPECT_EQ(Control("RzButton4")->geometry(), QRect(590 + dx, 25, 121, 25)) << "keeps its distance to the right edge";
  EXPECT_EQ(Control("RzButton5")->geometry(), QRect(520 + dx, 25, 65, 25));
  EXPECT_EQ(Control("ListView1")->geometry(), QRect(10, 55, 700 + dx, 311 + dy)) << "the list grows both ways";
  EXPECT_EQ(Control("Label6")->geometry().width(), 700 + dx);
  EXPECT_EQ(Control("mmoLog")->geometry().top(), 7);
  EXPECT_EQ(Control("mmoLog")->geometry().height(), 274 + dy) << "the log view is anchored to the bottom too";

  driver.window().resize(before);
  QTest::qWait(0);
  ExpectEveryControlInPlace();
}

TEST_F(MainWindowLayoutTest, WithTheMediaToolsTheListPreviewAndLogViewShareAGrownWindow) {
  TfrmDecoder& window = driver.window();
  window.SetMediaToolsVisible(true);
  const QSize tools = window.size();
  const QRect list = Control("ListView1")->geometry();
  const QRect preview = Control("FramePreview")->geometry();
  const QRect log = Control("mmoLog")->geometry();
  const QRect open = Control("btnOpen")->geometry();
  window.resize(tools + QSize(400, 200));
  QTest::qWait(0);
  EXPECT_EQ(Control("ListView1")->geometry().size(), list.size() + QSize(200, 100));
  EXPECT_EQ(Control("FramePreview")->geometry().size(), preview.size() + QSize(200, 100));
  EXPECT_EQ(Control("btnOpen")->geometry(), open.translated(0, 100)) << "the button row stays under the list";
  EXPECT_EQ(Control("mmoLog")->geometry().width(), log.width() + 200);
  EXPECT_EQ(Control("mmoLog")->geometry().right(), log.right() + 400) << "the log view keeps to the right edge";
  for (const char* name : {"ListView1", "FramePreview", "lblPTS", "mmoLog"})
    EXPECT_LE(Control(name)->geometry().bottom(), window.height()) << name;
}

// Two windows one after the other, as two starts of the program (one window at a time). The
// file between them is plain text a person can read.
TEST(MainWindowSettingsTest, SizePlaceColumnWidthsAndFoldersAreRememberedBetweenStarts) {
  TempFolder folder;
  const QString settings = QString::fromStdString((folder / "window.conf").string());
  const QString open = QString::fromStdString(folder.path().string());
  std::filesystem::create_directory(folder / "copies");
  const QString copies = QString::fromStdString((folder / "copies").string());
  const QRect place(QPoint(33, 44), QSize(760, 520));
  {
    TfrmDecoder first(nullptr, settings);
    first.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    EXPECT_EQ(first.frameGeometry().size(), QSize(740, 417)) << "the first start has the design size";
    first.setGeometry(place);
    auto* list = first.findChild<QTableWidget*>("ListView1");
    list->horizontalHeader()->resizeSection(TFileListView::FileNameColumn, 123);
    list->horizontalHeader()->resizeSection(TFileListView::CreationTimeColumn, 177);
    first.findChild<QFileDialog*>("OpenDialog1")->setDirectory(open);
    first.findChild<QFileDialog*>("RzSelectFolderDialog1")->setDirectory(copies);
    first.close();
  }
  QFile file(settings);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  for (const char* line : {"[window]\n", "\nx=33\n", "\ny=44\n", "\nwidth=760\n", "\nheight=520\n", "\nmaximized=false\n",
                           "[list]\ncolumns=123, 177, "})
    EXPECT_TRUE(text.contains(QLatin1String(line))) << line << " in\n" << text.toStdString();

  TfrmDecoder second(nullptr, settings);
  second.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
  EXPECT_EQ(second.geometry(), place);
  auto* list = second.findChild<QTableWidget*>("ListView1");
  EXPECT_EQ(list->columnWidth(TFileListView::FileNameColumn), 123);
  EXPECT_EQ(list->columnWidth(TFileListView::CreationTimeColumn), 177);
  EXPECT_EQ(list->columnWidth(TFileListView::ResultColumn), TFileListView::ResultWidth);
  EXPECT_EQ(list->columnWidth(TFileListView::NewFileNameColumn), list->viewport()->width() - 123 - 177 - TFileListView::ResultWidth)
      << "New filename takes what the others leave";
  EXPECT_EQ(second.findChild<QFileDialog*>("OpenDialog1")->directory().absolutePath(), open);
  EXPECT_EQ(second.findChild<QFileDialog*>("RzSelectFolderDialog1")->directory().absolutePath(), copies);
}

TEST_F(MainWindowLayoutTest, TabOrderRunsThroughTheInspectorThenTheListAndFourButtons) {
  const char* const expected[] = {"btnOpen",   "btnSave", "btnNextFrame", "btnPreviousFrame", "btnNextKF",
                                  "btnPreviousKF", "btnWebSite", "btnExit", "cboLogLevel", "mmoLog",
                                  "ListView1", "RzButton1", "RzButton2", "RzButton3", "RzButton4"};
  // The window's own controls and the inspector's; not the parts inside a control.
  QWidget* const owners[] = {&driver.window(), &driver.window().Inspector()};
  QWidget* current = Control(expected[0]);
  for (std::size_t i = 1; i < std::size(expected); ++i) {
    QWidget* next = current->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus || std::ranges::find(owners, next->parentWidget()) == std::end(owners) ||
           (next->focusPolicy() & Qt::TabFocus) == 0)
      next = next->nextInFocusChain();
    EXPECT_EQ(next->objectName().toStdString(), expected[i]) << "after " << current->objectName().toStdString();
    current = next;
  }
  EXPECT_EQ(Control("RzButton5")->focusPolicy() & Qt::TabFocus, 0) << "the about button is no tab stop";
}

TEST_F(MainWindowLayoutTest, TheStyledButtonsShareTheirLook) {
  for (const char* name : {"RzButton1", "RzButton2", "RzButton3", "RzButton4", "RzButton5"}) {
    QWidget* button = Control(name);
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << name;
    EXPECT_TRUE(button->testAttribute(Qt::WA_Hover)) << name;
    const QImage picture = button->grab().toImage();
    EXPECT_EQ(QColor(picture.pixel(0, picture.height() / 2)), QColor(0, 60, 116)) << name << ": frame";
    EXPECT_EQ(QColor(picture.pixel(3, 3)), QColor(244, 244, 240)) << name << ": face";
    // The pointer over a button lights its face up.
    QTest::mouseMove(button, QPoint(3, 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->underMouse(); })) << name;
    const QImage hovered = button->grab().toImage();
    EXPECT_NE(QColor(hovered.pixel(3, 3)), QColor(244, 244, 240)) << name << ": hover";
    EXPECT_EQ(QColor(hovered.pixel(0, hovered.height() / 2)), QColor(0, 60, 116)) << name << ": frame kept";
  }
}

TEST_F(MainWindowLayoutTest, TheInspectorsLogLevelListAndLogViewStartAsGiven) {
  auto* levels = qobject_cast<QComboBox*>(Control("cboLogLevel"));
  ASSERT_EQ(levels->count(), 8);
  const char* const names[] = {"Quiet", "Panic", "Fatal", "Error", "Warning", "Info", "Verbose", "Debug"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(levels->itemText(i), names[i]);
  EXPECT_EQ(levels->currentIndex(), 5);
  EXPECT_FALSE(levels->isEditable());
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(Control("mmoLog"))->toPlainText(), "mmoLog");
  EXPECT_EQ(Control("btnNextKF")->toolTip(), "Next Key-frame");
  EXPECT_EQ(Control("btnPreviousKF")->toolTip(), "Previous Key-frame");
  EXPECT_EQ(Control("cboLogLevel")->toolTip(), "LogLevel");
}

TEST_F(MainWindowLayoutTest, TheListIsAReadOnlyReportWithFourColumns) {
  QTableWidget& list = driver.list();
  ASSERT_EQ(list.columnCount(), 4);
  const char* const headers[] = {"Filename", "Creation Ttime", "New filename", "Result"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.horizontalHeaderItem(i)->text(), headers[i]);
  EXPECT_EQ(list.columnWidth(0), 200);
  EXPECT_EQ(list.columnWidth(1), 150);
  EXPECT_EQ(list.columnWidth(3), 150);
  EXPECT_EQ(list.columnWidth(2), list.viewport()->width() - 500) << "New filename takes what the others leave";
  EXPECT_LE(list.columnViewportPosition(3) + list.columnWidth(3), list.viewport()->width()) << "Result is in view";
  EXPECT_TRUE(list.showGrid());
  EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(MainWindowLayoutTest, TheOpenDialogTakesSeveralFilesWithTheFilterListsFirstPairSelected) {
  auto* dialog = driver.window().findChild<QFileDialog*>("OpenDialog1");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
  ASSERT_EQ(dialog->nameFilters().size(), 5);
  EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters().first());
  EXPECT_TRUE(dialog->isSizeGripEnabled());
  auto* folders = driver.window().findChild<QFileDialog*>("RzSelectFolderDialog1");
  ASSERT_NE(folders, nullptr);
  EXPECT_EQ(folders->fileMode(), QFileDialog::Directory);
}

TEST_F(MainWindowLayoutTest, TheOpenDialogsPatternsMatchWithoutRegardToLetterCase) {
  TempFolder folder;
  for (const char* name : {"a.mp4", "B.Mov", "c.MP3", "d.m4b", "e.Opus", "f.HEIC", "notes.txt", "g.xmp"})
    folder.WriteFile(name, "x");
  auto* dialog = driver.window().findChild<QFileDialog*>("OpenDialog1");
  dialog->setDirectory(Q(folder.path().string()));
  dialog->open();
  auto* view = dialog->findChild<QListView*>("listView");
  ASSERT_NE(view, nullptr);
  QStringList shown;
  // The dialog's model lists the folder in the background.
  ASSERT_TRUE(QTest::qWaitFor([&] {
    shown.clear();
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
      shown << view->model()->index(row, 0, root).data().toString();
    return shown.size() >= 6;
  }));
  QTest::qWait(50);
  shown.sort();
  EXPECT_EQ(shown, QStringList({"B.Mov", "a.mp4", "c.MP3", "d.m4b", "e.Opus", "f.HEIC"}));
  dialog->reject();
}

}  // namespace
