#include "window/StyledButton.h"

TStyledButton::TStyledButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
  setStyleSheet(QStringLiteral(
      "QPushButton { border: 1px solid rgb(0, 60, 116); background-color: rgb(244, 244, 240);"
      " color: black; padding: 0px; }"
      "QPushButton:hover { background-color: rgb(214, 228, 244); }"
      "QPushButton:pressed { background-color: rgb(188, 208, 232); }"
      "QPushButton:focus { border: 2px solid rgb(0, 60, 116); }"
      // Unavailable while a run goes on, and it shows.
      "QPushButton:disabled { border: 1px solid rgb(160, 170, 182); background-color: rgb(228, 228, 226);"
      " color: rgb(150, 150, 150); }"));
}
