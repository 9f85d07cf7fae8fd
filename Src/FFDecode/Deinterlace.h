// Our own deinterlacer for the 8-bit planar YUV formats and 8-bit grey: each line becomes a
// blend of itself and its two neighbours (1:2:1), which removes the comb that two fields
// taken at different moments leave and keeps a flat picture flat.
#pragma once
#include "FFDecode/Bitmap.h"

// True for the formats DeinterlacePicture handles.
bool CanDeinterlace(AVPixelFormat format);

// Writes the blended picture of `source` into `target` (same format and size, separate
// memory). False, with nothing written, for another format or fewer than 3 lines.
bool DeinterlacePicture(const TPicture& source, const TPicture& target);
