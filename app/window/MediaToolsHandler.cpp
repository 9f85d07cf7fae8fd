// The media tools in the window: Ctrl+I (or a right click on the window) shows and hides
// the inspector, which widens the window; a row's double-click opens its file there.
#include <QAction>
#include <QScreen>

#include "window/FileNameText.h"
#include "window/LogViewLineBuffer.h"
#include "window/MainWindow.h"
#include "window/MediaInspector.h"
#include "workflow/RenamingWorkflow.h"

void TfrmDecoder::MakeMediaToolsToggle() {
  MediaToolsAction_ = new QAction(QStringLiteral("Media tools"), this);
  MediaToolsAction_->setObjectName(QStringLiteral("actMediaTools"));
  MediaToolsAction_->setCheckable(true);
  MediaToolsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  MediaToolsAction_->setShortcutContext(Qt::WindowShortcut);
  MediaToolsAction_->setToolTip(QStringLiteral("Show the media tools (Ctrl+I)"));
  addAction(MediaToolsAction_);
  // A right click on the window offers the toggle; the window itself looks as designed.
  setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(MediaToolsAction_, &QAction::toggled, this, &TfrmDecoder::SetMediaToolsVisible);
}

void TfrmDecoder::SetMediaToolsVisible(bool visible) {
  if (visible) {
    Inspector_->ClearInitialTexts();
    ToolsLayout_.Show(*this, Inspector_->Controls(), Inspector_->Preview());
    KeepOnScreen();
  } else {
    ToolsLayout_.Hide(*this, Inspector_->Controls(), Inspector_->Preview());
  }
  PlaceControls();
  if (MediaToolsAction_->isChecked() != visible) MediaToolsAction_->setChecked(visible);
  LogLines_->ShowLines();
}

void TfrmDecoder::KeepOnScreen() {
  const QScreen* screen = this->screen();
  if (!screen || isMaximized() || isFullScreen()) return;
  const QRect room = screen->availableGeometry();
  QRect outer = frameGeometry();
  if (room.contains(outer)) return;
  outer.moveRight(std::min(outer.right(), room.right()));
  outer.moveBottom(std::min(outer.bottom(), room.bottom()));
  outer.moveLeft(std::max(outer.left(), room.left()));
  outer.moveTop(std::max(outer.top(), room.top()));
  move(outer.topLeft());
}

void TfrmDecoder::ListView1RowActivated(int row) {
  if (Busy_ || row < 0 || static_cast<std::size_t>(row) >= Workflow_->Rows().size()) return;
  SetMediaToolsVisible(true);
  Inspector_->OpenFile(DisplayFileName(Workflow_->Rows()[static_cast<std::size_t>(row)].FileName));
}
