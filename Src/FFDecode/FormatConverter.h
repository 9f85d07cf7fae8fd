// The target picture of a frame decoder: a bitmap, the libraries' pixel format that
// matches its rows, and the scaler flags for converting decoded pictures into it.
#pragma once
#include <cstdint>
#include <string>

#include "FFDecode/Bitmap.h"
#include "FFUtils/FFOwners.h"

enum class TBitmapPixelFormat { pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TFormatConverter {
 public:
  // The 32-bit row, scaler flags 4 (bicubic). Needs no library.
  TFormatConverter();
  TFormatConverter(const TFormatConverter&) = delete;
  TFormatConverter& operator=(const TFormatConverter&) = delete;

  // Selects a row of the table and gives the bitmap that layout. The 15- and 16-bit rows
  // keep blue in the high bits, which a display reads as red: show only 24 or 32 bits.
  void SetBitmapPixelFormat(TBitmapPixelFormat format);
  TBitmapPixelFormat BitmapPixelFormat() const { return BitmapPixelFormat_; }
  AVPixelFormat TargetPixelFormat() const { return TargetPixelFormat_; }
  int TargetBitsPerPixel() const { return TargetBitsPerPixel_; }
  TBitmap& Bitmap() { return Bitmap_; }
  const TBitmap& Bitmap() const { return Bitmap_; }

  // Scales `source` into the bitmap at width x height. The scaler is kept while the
  // source format and size, the target and the flags stay the same. On false the bitmap
  // is empty and `error` says why.
  bool Convert(const TPicture& source, int width, int height, std::string& error);

  // Replaced after each successful open by the option store's "sws_flags" when that can
  // be read and is 0 or more.
  std::int32_t ScalerFlags = SWS_BICUBIC;

  // How many scaler contexts Convert has made so far.
  int ScalersMade() const { return ScalersMade_; }

 private:
  void Reset();

  struct ScalerKey {
    AVPixelFormat sourceFormat = AV_PIX_FMT_NONE;
    int sourceWidth = 0;
    int sourceHeight = 0;
    AVPixelFormat targetFormat = AV_PIX_FMT_NONE;
    int targetWidth = 0;
    int targetHeight = 0;
    std::int32_t flags = 0;
    bool operator==(const ScalerKey&) const = default;
  };

  TBitmapPixelFormat BitmapPixelFormat_ = TBitmapPixelFormat::pf32bit;
  AVPixelFormat TargetPixelFormat_ = AV_PIX_FMT_BGRA;
  int TargetBitsPerPixel_ = 32;
  TBitmap Bitmap_;
  ff::SwsContextPtr Scaler_;
  ScalerKey ScalerKey_;
  int ScalersMade_ = 0;
};
