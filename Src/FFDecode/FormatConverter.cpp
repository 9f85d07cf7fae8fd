#include "FFDecode/FormatConverter.h"

#include "FFLoad/EntryPoints.h"
#include "Text/Format.h"

namespace {

struct PixelFormatRow {
  int bitsPerPixel;
  AVPixelFormat libraryFormat;
};

// Indexed by TBitmapPixelFormat.
constexpr PixelFormatRow kPixelFormatTable[] = {
    {8, AV_PIX_FMT_BGR8},
    {16, AV_PIX_FMT_BGR555LE},
    {16, AV_PIX_FMT_BGR565LE},
    {24, AV_PIX_FMT_BGR24},
    {32, AV_PIX_FMT_BGRA},
};

std::string FormatName(AVPixelFormat format) {
  const char* name = ff::avutil.av_get_pix_fmt_name(format);
  return name ? name : "none";
}

}  // namespace

TFormatConverter::TFormatConverter() { Reset(); }

void TFormatConverter::SetBitmapPixelFormat(TBitmapPixelFormat format) {
  BitmapPixelFormat_ = format;
  Reset();
}

void TFormatConverter::Reset() {
  const PixelFormatRow& row = kPixelFormatTable[static_cast<int>(BitmapPixelFormat_)];
  TargetPixelFormat_ = row.libraryFormat;
  TargetBitsPerPixel_ = row.bitsPerPixel;
  Bitmap_.SetFormat(TargetPixelFormat_, TargetBitsPerPixel_);
}

bool TFormatConverter::Convert(const TPicture& source, int width, int height, std::string& error) {
  Bitmap_.Clear();
  if (!source.Data[0] || source.Width <= 0 || source.Height <= 0) {
    error = "no picture to convert.";
    return false;
  }
  if (width <= 0 || height <= 0 || ff::avutil.av_image_check_size(static_cast<unsigned>(width),
                                                                   static_cast<unsigned>(height), 0, nullptr) < 0) {
    error = text::Format("picture size %dx%d is invalid.", {width, height});
    return false;
  }
  const ScalerKey key{source.Format, source.Width, source.Height, TargetPixelFormat_, width, height, ScalerFlags};
  if (!Scaler_ || !(key == ScalerKey_)) {
    Scaler_.reset(ff::swscale.sws_getContext(source.Width, source.Height, source.Format, width, height,
                                             TargetPixelFormat_, ScalerFlags, nullptr, nullptr, nullptr));
    if (!Scaler_) {
      error = text::Format("could not make a scaler from %s %dx%d to %s %dx%d.",
                           {FormatName(source.Format), source.Width, source.Height, FormatName(TargetPixelFormat_),
                            width, height});
      return false;
    }
    ++ScalersMade_;
    ScalerKey_ = key;
  }
  Bitmap_.SetSize(width, height);
  std::uint8_t* target[4] = {Bitmap_.Row(0), nullptr, nullptr, nullptr};
  const int targetStride[4] = {Bitmap_.Stride(), 0, 0, 0};
  const int rows = ff::swscale.sws_scale(Scaler_.get(), source.Data, source.Linesize, 0, source.Height, target,
                                         targetStride);
  if (rows != height) {
    Bitmap_.Clear();
    error = text::Format("the scaler gave %d of %d rows.", {rows, height});
    return false;
  }
  return true;
}
