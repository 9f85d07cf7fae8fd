// The file list's controls follow the window's size: the description and the list grow with
// it, the three run buttons keep their places at the left edge, and the about and Close
// buttons keep their distance to the right edge.
#pragma once
#include <QRect>
#include <QSize>

class QWidget;

struct TMainControls {
  QWidget* Label6;
  QWidget* ListView1;
  QWidget* RzButton4;  // Close
  QWidget* RzButton5;  // about
};

// The design places, for the client size the design was made for.
inline constexpr QRect Label6Place{10, 5, 700, 12};
inline constexpr QRect ListView1Place{10, 55, 700, 311};
inline constexpr QRect RzButton4Place{590, 25, 121, 25};
inline constexpr QRect RzButton5Place{520, 25, 65, 25};
// Beside the run buttons, in the room between them and the about button.
inline constexpr QRect UndoButtonPlace{400, 25, 112, 25};

// Places the controls for a client area `grow` larger than the design's (smaller when
// negative); the list never becomes smaller than a few rows.
void PlaceMainControls(const TMainControls& controls, QSize grow);
