// A toolkit-free picture: rows of packed pixels, top row first, each row starting on a
// four-byte boundary. A window can show the rows where they are, without a copy.
#pragma once
#include <cstdint>
#include <vector>

#include "FFLoad/MediaHeaders.h"

class TBitmap {
 public:
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  int BitsPerPixel() const { return BitsPerPixel_; }
  // The libraries' pixel format that matches the rows' layout.
  AVPixelFormat PixelFormat() const { return PixelFormat_; }
  // Bytes from one row to the next.
  int Stride() const { return Stride_; }
  bool Empty() const { return Width_ == 0 || Height_ == 0; }

  std::uint8_t* Row(int y) { return Pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride_); }
  const std::uint8_t* Row(int y) const {
    return Pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride_);
  }

  // Gives the bitmap that layout; the pixels are kept when the size stays, else undefined.
  // The rows move when the bitmap grows: a view of them is valid until the next call.
  void SetFormat(AVPixelFormat pixelFormat, int bitsPerPixel);
  void SetSize(int width, int height);
  // Width and height 0; the layout stays.
  void Clear() { SetSize(0, 0); }

 private:
  int Width_ = 0;
  int Height_ = 0;
  int BitsPerPixel_ = 32;
  AVPixelFormat PixelFormat_ = AV_PIX_FMT_BGRA;
  int Stride_ = 0;
  std::vector<std::uint8_t> Pixels_;
};

// A picture record of the libraries: plane pointers and line sizes over memory owned
// elsewhere, with the format and size that describe them.
struct TPicture {
  std::uint8_t* Data[4] = {};
  int Linesize[4] = {};
  AVPixelFormat Format = AV_PIX_FMT_NONE;
  int Width = 0;
  int Height = 0;
};
