// A test picture for the picture-file tests.
#pragma once
#include <cstdint>

#include "FFDecode/Bitmap.h"
#include "FFLoad/MediaHeaders.h"

// A smooth picture whose channels differ: blue grows to the right, green downwards, red
// shrinks towards the bottom right.
inline TBitmap Gradient(int width, int height, int bitsPerPixel) {
  TBitmap bitmap;
  bitmap.SetFormat(bitsPerPixel == 24 ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_BGRA, bitsPerPixel);
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* pixel = bitmap.Row(y) + x * bitsPerPixel / 8;
      pixel[0] = static_cast<std::uint8_t>(x * 3);
      pixel[1] = static_cast<std::uint8_t>(y * 4);
      pixel[2] = static_cast<std::uint8_t>(250 - x * 2 - y);
      if (bitsPerPixel == 32) pixel[3] = 255;
    }
  }
  return bitmap;
}

