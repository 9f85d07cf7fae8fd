#include "FFDecode/Deinterlace.h"

#include <cstdint>

namespace {

struct PlaneShift {
  int horizontal;
  int vertical;
};

// The chroma subsampling of the handled formats; grey has one plane.
bool Subsampling(AVPixelFormat format, PlaneShift& chroma, int& planes) {
  planes = 3;
  switch (format) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P: chroma = {1, 1}; return true;
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P: chroma = {1, 0}; return true;
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVJ444P: chroma = {0, 0}; return true;
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_YUVJ411P: chroma = {2, 0}; return true;
    case AV_PIX_FMT_GRAY8:
      chroma = {0, 0};
      planes = 1;
      return true;
    default: return false;
  }
}

// Rounds up, as the libraries size the chroma planes of odd pictures.
int Shifted(int size, int shift) { return (size + (1 << shift) - 1) >> shift; }

void BlendPlane(const std::uint8_t* source, int sourceStride, std::uint8_t* target, int targetStride, int width,
                int height) {
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* above = source + static_cast<std::ptrdiff_t>(y > 0 ? y - 1 : y) * sourceStride;
    const std::uint8_t* line = source + static_cast<std::ptrdiff_t>(y) * sourceStride;
    const std::uint8_t* below = source + static_cast<std::ptrdiff_t>(y + 1 < height ? y + 1 : y) * sourceStride;
    std::uint8_t* out = target + static_cast<std::ptrdiff_t>(y) * targetStride;
    for (int x = 0; x < width; ++x) out[x] = static_cast<std::uint8_t>((above[x] + 2 * line[x] + below[x] + 2) / 4);
  }
}

}  // namespace

bool CanDeinterlace(AVPixelFormat format) {
  PlaneShift chroma{};
  int planes = 0;
  return Subsampling(format, chroma, planes);
}

bool DeinterlacePicture(const TPicture& source, const TPicture& target) {
  PlaneShift chroma{};
  int planes = 0;
  if (!Subsampling(source.Format, chroma, planes) || source.Width <= 0 || source.Height < 3) return false;
  for (int plane = 0; plane < planes; ++plane) {
    const int width = plane == 0 ? source.Width : Shifted(source.Width, chroma.horizontal);
    const int height = plane == 0 ? source.Height : Shifted(source.Height, chroma.vertical);
    if (!source.Data[plane] || !target.Data[plane]) return false;
    BlendPlane(source.Data[plane], source.Linesize[plane], target.Data[plane], target.Linesize[plane], width, height);
  }
  return true;
}
