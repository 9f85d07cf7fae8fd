// A video stream's display matrix says how its pictures are turned when shown (a phone held
// upright stores its pictures on their side). Pictures are turned by quarter turns only.
#pragma once
#include <cstdint>

#include "FFDecode/Bitmap.h"
#include "FFLoad/MediaHeaders.h"

// The clockwise turn, 0, 90, 180 or 270 degrees, that stands a picture of the stream
// upright; 0 for a stream without display matrix, for a matrix that does not turn by a
// quarter turn (within two degrees) and for one without scale.
int ClockwiseTurnOf(const std::int32_t (&matrix)[9]);
int ClockwiseTurnOf(const AVStream& stream);

// `source` turned clockwise by `degrees` (0, 90, 180 or 270; others: unchanged), in the
// same pixel layout.
TBitmap TurnedClockwise(const TBitmap& source, int degrees);
