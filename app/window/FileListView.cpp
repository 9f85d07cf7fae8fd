#include "window/FileListView.h"

#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QUrl>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "window/FileNameText.h"
#include "window/PathElision.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/rows/RowResultText.h"

namespace {

// File names are the system's bytes; the other texts are UTF-8.
QTableWidgetItem* NameItem(const std::string& name) { return new QTableWidgetItem(DisplayFileName(name)); }
QTableWidgetItem* TextItem(const std::string& text) { return new QTableWidgetItem(QString::fromStdString(text)); }

// The local paths among the dropped links; other links (web pages, ...) name no file.
QStringList LocalPaths(const QMimeData* data) {
  QStringList paths;
  if (!data) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) paths << url.toLocalFile();
  return paths;
}

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
  // Drops are taken as a new selection, not as moved rows.
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setTextElideMode(Qt::ElideRight);
  setItemDelegateForColumn(FileNameColumn, new TPathDelegate(this));
  setItemDelegateForColumn(NewFileNameColumn, new TPathDelegate(this));
  verticalHeader()->hide();
  // Tab leaves the list for the next control, with or without rows.
  setTabKeyNavigation(false);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setHighlightSections(false);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
    if (!Fitting_) UserWidths_ = true;
  });
  FitColumns();
}

void TFileListView::ShowRows(const std::vector<TFileRow>& rows) {
  setUpdatesEnabled(false);
  clearContents();
  setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < rowCount(); ++i) {
    const TFileRow& row = rows[static_cast<std::size_t>(i)];
    setItem(i, FileNameColumn, NameItem(row.FileName));
    setItem(i, CreationTimeColumn, TextItem(row.CreationTime));
    setItem(i, NewFileNameColumn, NameItem(row.NewFileName));
    setItem(i, ResultColumn, TextItem(RowResultText(row.Result, row.DateLooksUnset)));
  }
  FitColumns();
  setUpdatesEnabled(true);
}

void TFileListView::ShowCutTextsAsToolTips() {
  const QFontMetrics metrics(font());
  // The cell's own margins, as the style draws them on both sides.
  const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  for (int column = 0; column < columnCount(); ++column) {
    const bool path = column == FileNameColumn || column == NewFileNameColumn;
    const int room = columnWidth(column) - margin;
    for (int row = 0; row < rowCount(); ++row) {
      if (QTableWidgetItem* cell = item(row, column))
        cell->setToolTip(path || metrics.horizontalAdvance(cell->text()) > room ? cell->text() : QString());
    }
  }
}

void TFileListView::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  FitColumns();
}

void TFileListView::FitColumns() {
  Fitting_ = true;
  const int room = viewport()->width();
  if (!UserWidths_ && rowCount() > 0) {
    // The short columns as wide as their texts (and captions), the paths share the rest.
    const auto fitted = [this](int column, int most) {
      const int caption = horizontalHeader()->sectionSizeHint(column);
      return std::clamp(std::max(sizeHintForColumn(column), caption), 60, most);
    };
    setColumnWidth(CreationTimeColumn, fitted(CreationTimeColumn, room / 4));
    setColumnWidth(ResultColumn, fitted(ResultColumn, room / 4));
    const int paths = std::max(200, room - columnWidth(CreationTimeColumn) - columnWidth(ResultColumn));
    setColumnWidth(FileNameColumn, paths / 2);
    setColumnWidth(NewFileNameColumn, paths - paths / 2);
  } else {
    if (!UserWidths_) {
      setColumnWidth(FileNameColumn, FileNameWidth);
      setColumnWidth(CreationTimeColumn, CreationTimeWidth);
      setColumnWidth(ResultColumn, ResultWidth);
    }
    // "Result" stays in view: "New filename" takes what the other three leave.
    const int rest = room - columnWidth(FileNameColumn) - columnWidth(CreationTimeColumn) - columnWidth(ResultColumn);
    setColumnWidth(NewFileNameColumn, std::max(rest, 100));
  }
  Fitting_ = false;
  ShowCutTextsAsToolTips();
}

QString TFileListView::SavedWidths() const {
  if (!UserWidths_) return {};
  QStringList widths;
  for (int column = 0; column < columnCount(); ++column) widths << QString::number(columnWidth(column));
  return widths.join(QStringLiteral(", "));
}

void TFileListView::RestoreWidths(const QString& widths) {
  if (widths.size() > 100) return;  // four numbers that a screen can show are shorter
  const QStringList parts = widths.split(u',');
  if (parts.size() != columnCount()) return;
  std::vector<int> taken;
  for (const QString& part : parts) {
    bool number = false;
    const int width = part.trimmed().toInt(&number);
    if (!number) return;
    taken.push_back(width);
  }
  const int narrowest = horizontalHeader()->minimumSectionSize();
  const int widest = std::max(narrowest, screen() ? screen()->virtualGeometry().width() : 4096);
  Fitting_ = true;
  for (int column = 0; column < columnCount(); ++column)
    setColumnWidth(column, std::clamp(taken[static_cast<std::size_t>(column)], narrowest, widest));
  Fitting_ = false;
  UserWidths_ = true;
  FitColumns();
}

// An enter event is a move event with the same answer.
void TFileListView::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TFileListView::dragMoveEvent(QDragMoveEvent* event) {
  if (OnPathsDropped && !LocalPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
  else event->ignore();
}

void TFileListView::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalPaths(event->mimeData());
  if (!OnPathsDropped || paths.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  OnPathsDropped(paths);
}
