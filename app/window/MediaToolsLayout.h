// The media tools shown: the window widens so that the log view fits, the inspector's
// buttons form a row under the file list, and the frame preview with the position label
// fills the space below. Hidden again, every control returns to its design place and the
// window to the size it had.
#pragma once
#include <QPointer>
#include <QRect>
#include <QSize>
#include <utility>
#include <vector>

#include "window/MediaToolsPanel.h"

class TFramePreview;

class TMediaToolsLayout {
 public:
  static constexpr int ToolsWidth = 1096;
  static constexpr int ToolsHeight = 680;

  void Show(QWidget& window, const TMediaToolsPanel& panel, TFramePreview& preview);
  void Hide(QWidget& window, const TMediaToolsPanel& panel, TFramePreview& preview);
  // Gives the preview and the position label the window's height; only while shown.
  void Fit(const QWidget& window, const TMediaToolsPanel& panel, TFramePreview& preview) const;
  bool Shown() const { return Shown_; }

 private:
  std::vector<std::pair<QPointer<QWidget>, QRect>> DesignPlaces_;
  QSize SizeBefore_;
  bool Shown_ = false;
};
