#include "FFDecode/Bitmap.h"

void TBitmap::SetFormat(AVPixelFormat pixelFormat, int bitsPerPixel) {
  PixelFormat_ = pixelFormat;
  BitsPerPixel_ = bitsPerPixel;
  SetSize(Width_, Height_);
}

void TBitmap::SetSize(int width, int height) {
  Width_ = width > 0 && height > 0 ? width : 0;
  Height_ = Width_ > 0 ? height : 0;
  const std::int64_t rowBits = std::int64_t{Width_} * BitsPerPixel_;
  Stride_ = static_cast<int>((rowBits + 31) / 32 * 4);
  Pixels_.resize(static_cast<std::size_t>(Stride_) * static_cast<std::size_t>(Height_));
}
