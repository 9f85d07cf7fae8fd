// The media tools shown: the window widens so that the log view fits, the inspector's
// buttons form a row under the file list, and the position label with the frame preview
// under it fills the space below, above the progress strip. A window larger than that gives half of its extra width to the
// list and the preview and half to the log view, and half of its extra height to the list
// and half to the preview. Hidden again, every control returns to its design place and the
// window to the size it had.
#pragma once
#include <QPointer>
#include <QRect>
#include <QSize>
#include <utility>
#include <vector>

#include "window/MainLayout.h"
#include "window/MediaToolsPanel.h"

class TFramePreview;

class TMediaToolsLayout {
 public:
  static constexpr int ToolsWidth = 1096;
  static constexpr int ToolsHeight = 680;

  void Show(QWidget& window, const TMediaToolsPanel& panel, TFramePreview& preview);
  void Hide(QWidget& window, const TMediaToolsPanel& panel, TFramePreview& preview);
  // Places every control for the window's size, shown or not. The log view ends
  // `logBottomMargin` above the window's bottom edge; `designClient` is the client size the
  // design was made for.
  void Fit(const QWidget& window, const TMainControls& main, const TMediaToolsPanel& panel, TFramePreview& preview,
           QSize designClient, int logBottomMargin) const;
  bool Shown() const { return Shown_; }

 private:
  std::vector<std::pair<QPointer<QWidget>, QRect>> DesignPlaces_;
  QSize SizeBefore_;
  bool Shown_ = false;
};
