// The media inspector's controls: created with the window at their places, never shown.
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

// Makes the controls as hidden children of `window`, in their tab order.
TMediaToolsPanel MakeMediaToolsPanel(QWidget* window);
