// ListView1: the file list as a read-only report with grid lines and whole-row selection.
// Columns "Filename", "Creation Ttime", "New filename" and "Result", all four in view:
// "New filename" takes what the others leave. A cell whose text is cut shows it whole as
// its tooltip.
#pragma once
#include <QTableWidget>
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

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitNewFileNameColumn();
  void ShowCutTextsAsToolTips();
};
