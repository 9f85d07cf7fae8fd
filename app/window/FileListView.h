// ListView1: the file list as a read-only report with grid lines and whole-row selection.
// Columns "Filename", "Creation Ttime", "New filename" and "Result", all four in view. The
// two path columns are cut in the middle (PathElision.h) and show the full path as their
// tooltip; another cell whose text is cut shows it whole as its tooltip.
// Column widths: with no rows, "New filename" takes what the others leave; the first rows
// fit "Creation Ttime" and "Result" to their texts and share the rest between the two path
// columns. Once the user has set a width (or widths were restored), widths stay as they are
// and "New filename" takes what the others leave.
#pragma once
#include <QString>
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

  // The widths the user set, for the next start: the four columns' widths as whole numbers
  // in column order, "200, 150, 310, 150"; empty when none was set.
  QString SavedWidths() const;
  // Takes widths as SavedWidths gives them, each kept between the narrowest a column may be
  // and the width of the whole desktop; nothing happens for a text that is not four whole
  // numbers (the columns then fit themselves).
  void RestoreWidths(const QString& widths);

  // Called with the local paths of files and folders dropped onto the list, in the order
  // they came; a drop that brings no local path is refused.
  std::function<void(const QStringList& paths)> OnPathsDropped;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FitColumns();
  void ShowCutTextsAsToolTips();

  bool UserWidths_ = false;  // the user set a width, or widths were restored
  bool Fitting_ = false;     // the list sets widths itself
};
