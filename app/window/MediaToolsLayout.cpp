#include "window/MediaToolsLayout.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "window/FramePreview.h"

namespace {

constexpr int kMargin = 10;
constexpr int kRowTop = 374;         // under the file list, which ends at 366
constexpr int kPreviewTop = 406;
constexpr int kLabelHeight = 18;
constexpr int kStripRoom = 28;       // the progress strip's height and margin
constexpr int kPreviewWidth = 700;   // as wide as the file list
constexpr QRect kLogPlace{781, 7, 305, 274};

// The controls that move, in the order of the button row.
std::vector<QWidget*> RowControls(const TMediaToolsPanel& panel) {
  return {panel.btnOpen,   panel.btnSave,       panel.btnNextFrame, panel.btnPreviousFrame, panel.btnNextKF,
          panel.btnPreviousKF, panel.btnWebSite, panel.btnExit,      panel.cboLogLevel};
}

}  // namespace

void TMediaToolsLayout::Show(QWidget& window, const TMediaToolsPanel& panel, TFramePreview& preview) {
  if (Shown_) return;
  Shown_ = true;
  SizeBefore_ = window.size();
  DesignPlaces_.clear();
  std::vector<QWidget*> moved = RowControls(panel);
  moved.push_back(panel.lblPTS);
  for (QWidget* control : moved) DesignPlaces_.emplace_back(control, control->geometry());

  window.resize(std::max(window.width(), ToolsWidth), std::max(window.height(), ToolsHeight));
  for (QWidget* control : moved) control->show();
  panel.mmoLog->show();
  preview.show();
}

void TMediaToolsLayout::Hide(QWidget& window, const TMediaToolsPanel& panel, TFramePreview& preview) {
  if (!Shown_) return;
  Shown_ = false;
  for (auto& [control, place] : DesignPlaces_) {
    if (!control) continue;
    control->hide();
    control->setGeometry(place);
  }
  panel.mmoLog->hide();
  preview.hide();
  window.resize(SizeBefore_);
}

void TMediaToolsLayout::Fit(const QWidget& window, const TMainControls& main, const TMediaToolsPanel& panel,
                            TFramePreview& preview, QSize designClient, int logBottomMargin) const {
  QRect log = kLogPlace;
  log.setBottom(window.height() - logBottomMargin - 1);
  if (!Shown_) {
    PlaceMainControls(main, window.size() - designClient);
    panel.mmoLog->setGeometry(log);
    return;
  }
  const int wider = std::max(0, window.width() - ToolsWidth);
  const int taller = std::max(0, window.height() - ToolsHeight);
  const int leftWider = wider / 2;
  const int listTaller = taller / 2;
  PlaceMainControls(main, QSize(leftWider, listTaller));
  log.setLeft(kLogPlace.left() + leftWider);
  log.setWidth(kLogPlace.width() + wider - leftWider);
  panel.mmoLog->setGeometry(log);

  int left = kMargin;
  for (QWidget* control : RowControls(panel)) {
    const int height = control == panel.cboLogLevel ? 22 : 25;
    control->setGeometry(left, kRowTop + listTaller + (25 - height) / 2, control->width(), height);
    left += control->width() + 4;
  }
  // The position line sits above the preview, clear of the progress strip at the bottom,
  // which keeps a run's summary: the position stays in view whatever the summary says.
  const int labelTop = kPreviewTop + listTaller;
  const int previewTop = labelTop + kLabelHeight + 4;
  const int previewBottom = window.height() - kStripRoom;
  const int width = kPreviewWidth + leftWider;
  panel.lblPTS->setGeometry(kMargin, labelTop, width, kLabelHeight);
  preview.setGeometry(kMargin, previewTop, width, std::max(0, previewBottom - previewTop));
}
