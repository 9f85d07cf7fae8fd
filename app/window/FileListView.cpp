#include "FileListView.h"

#include <QHeaderView>

#include "FileNameText.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/RowResultText.h"

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
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setHighlightSections(false);
  setColumnWidth(FileNameColumn, FileNameWidth);
  setColumnWidth(CreationTimeColumn, CreationTimeWidth);
  setColumnWidth(ResultColumn, ResultWidth);
  FitNewFileNameColumn();
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
    setItem(i, ResultColumn, TextItem(RowResultText(row.Result)));
  }
  setUpdatesEnabled(true);
}

void TFileListView::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  FitNewFileNameColumn();
}

void TFileListView::FitNewFileNameColumn() {
  const int rest = viewport()->width() - FileNameWidth - CreationTimeWidth;
  setColumnWidth(NewFileNameColumn, std::max(rest, 100));
}
