// ListView1: the file list as a read-only report with grid lines and whole-row selection.
// Columns "Filename", "Creation Ttime", "New filename" and "Result", all four in view:
// "New filename" takes what the others leave. A cell whose text is cut shows it whole as
// its tooltip.
#pragma once
#include <QStringList>
#include <QTableWidget>
#include <functional>
#include <vector>

struct TFileRow;

class TFileListView : public QTableWidget {
 public:
  explicit TFileListView(QWidget* parent);

  // Shows exactly these rows, in order.
  void ShowRows(const std::vector<TFileRow>& rows);

  enum Column { FileNameColumn, CreationTimeColumn, NewFileNameColumn, ResultColumn };
  static constexpr int FileNameWidth = 200;
  static constexpr int CreationTimeWidth = 150;
  static constexpr int ResultWidth = 150;

  // Called with the local paths of files and folders dropped onto the list, in the order
  // they came; a drop that brings no local path is refused.
  std::function<void(const QStringList& paths)> OnPathsDropped;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FitNewFileNameColumn();
  void ShowCutTextsAsToolTips();
};
