#include "window/FileListView.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

#include "window/FileNameText.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/RowResultText.h"
#include "workflow/UnsetDate.h"

namespace {

// File names are the system's bytes; the other texts are UTF-8.
QTableWidgetItem* NameItem(const std::string& name) { return new QTableWidgetItem(DisplayFileName(name)); }
QTableWidgetItem* TextItem(const std::string& text) { return new QTableWidgetItem(QString::fromStdString(text)); }

}  // namespace

TFileListView::TFileListView(QWidget* parent) : QTableWidget(0, 4, parent) {
  setObjectName(QStringLiteral("ListView1"));
  setHorizontalHeaderLabels(
      {QStringLiteral("Filename"), QStringLiteral("Creation Ttime"), QStringLiteral("New filename"),
       QStringLiteral("Result")});
  setShowGrid(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  verticalHeader()->hide();
  // Tab leaves the list for the next control, with or without rows.
  setTabKeyNavigation(false);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setHighlightSections(false);
  setColumnWidth(FileNameColumn, FileNameWidth);
  setColumnWidth(CreationTimeColumn, CreationTimeWidth);
  setColumnWidth(ResultColumn, ResultWidth);
  FitNewFileNameColumn();
}

namespace {

// A row whose date looks unset says so after its result, once it has one.
std::string ResultText(const TFileRow& row) {
  std::string text = RowResultText(row.Result);
  if (row.DateLooksUnset && !text.empty()) text += DateLooksUnsetNote;
  return text;
}

}  // namespace

void TFileListView::ShowRows(const std::vector<TFileRow>& rows) {
  setUpdatesEnabled(false);
  clearContents();
  setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < rowCount(); ++i) {
    const TFileRow& row = rows[static_cast<std::size_t>(i)];
    setItem(i, FileNameColumn, NameItem(row.FileName));
    setItem(i, CreationTimeColumn, TextItem(row.CreationTime));
    setItem(i, NewFileNameColumn, NameItem(row.NewFileName));
    setItem(i, ResultColumn, TextItem(ResultText(row)));
  }
  ShowCutTextsAsToolTips();
  setUpdatesEnabled(true);
}

void TFileListView::ShowCutTextsAsToolTips() {
  const QFontMetrics metrics(font());
  // The cell's own margins, as the style draws them on both sides.
  const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  for (int column = 0; column < columnCount(); ++column) {
    const int room = columnWidth(column) - margin;
    for (int row = 0; row < rowCount(); ++row) {
      if (QTableWidgetItem* cell = item(row, column))
        cell->setToolTip(metrics.horizontalAdvance(cell->text()) > room ? cell->text() : QString());
    }
  }
}

void TFileListView::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  FitNewFileNameColumn();
}

void TFileListView::FitNewFileNameColumn() {
  // "Result" stays in view: "New filename" takes what the other three leave.
  const int rest = viewport()->width() - FileNameWidth - CreationTimeWidth - ResultWidth;
  setColumnWidth(NewFileNameColumn, std::max(rest, 100));
  ShowCutTextsAsToolTips();
}
