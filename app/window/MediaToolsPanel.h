// The media inspector's controls: created hidden at their design places.
// The log view also serves as the renaming workflow's line buffer.
#pragma once

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

struct TMediaToolsPanel {
  QPushButton* btnOpen;
  QPushButton* btnSave;
  QPushButton* btnNextFrame;
  QPushButton* btnPreviousFrame;
  QPushButton* btnNextKF;
  QPushButton* btnPreviousKF;
  QPushButton* btnWebSite;
  QPushButton* btnExit;
  QComboBox* cboLogLevel;  // items in the order of TLogLevel, "Info" selected
  QPlainTextEdit* mmoLog;  // starts with the single line "mmoLog"
  QLabel* lblPTS;
};

// Makes the controls as hidden children of `owner`, in their tab order.
TMediaToolsPanel MakeMediaToolsPanel(QWidget* owner);
