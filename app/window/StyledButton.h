// The push button look of the main window: hand cursor, a dark blue frame, an off-white face
// and a highlight while the mouse is over it.
#pragma once
#include <QPushButton>

class TStyledButton : public QPushButton {
 public:
  TStyledButton(const QString& caption, QWidget* parent);

  static constexpr QRgb FrameColour = 0x003C74;  // RGB 0, 60, 116
  static constexpr QRgb FaceColour = 0xF4F4F0;   // RGB 244, 244, 240
};
