#include "FFDecode/DisplayRotation.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

double Fixed16(std::int32_t value) { return static_cast<double>(value) / (1 << 16); }

// Where the pixel at (x, y) of a width x height picture lands when turned.
struct TTurn {
  int Degrees;
  int Width;
  int Height;
  void Place(int x, int y, int& toX, int& toY) const {
    switch (Degrees) {
      case 90: toX = Height - 1 - y, toY = x; return;
      case 180: toX = Width - 1 - x, toY = Height - 1 - y; return;
      case 270: toX = y, toY = Width - 1 - x; return;
      default: toX = x, toY = y;
    }
  }
};

}  // namespace

int ClockwiseTurnOf(const std::int32_t (&matrix)[9]) {
  const double scaleX = std::hypot(Fixed16(matrix[0]), Fixed16(matrix[3]));
  const double scaleY = std::hypot(Fixed16(matrix[1]), Fixed16(matrix[4]));
  if (scaleX == 0.0 || scaleY == 0.0) return 0;
  // The matrix turns the picture counter-clockwise by this angle when it is shown.
  const double shown =
      std::atan2(Fixed16(matrix[1]) / scaleY, Fixed16(matrix[0]) / scaleX) * 180.0 / std::numbers::pi;
  double turn = std::fmod(std::round(shown), 360.0);
  if (turn < 0) turn += 360.0;
  for (const int quarter : {0, 90, 180, 270, 360})
    if (std::abs(turn - quarter) < 2.0) return quarter % 360;
  return 0;
}

int ClockwiseTurnOf(const AVStream& stream) {
  for (int i = 0; i < stream.nb_side_data; ++i) {
    const AVPacketSideData& data = stream.side_data[i];
    if (data.type != AV_PKT_DATA_DISPLAYMATRIX || data.size < sizeof(std::int32_t[9]) || !data.data) continue;
    std::int32_t matrix[9];
    std::memcpy(matrix, data.data, sizeof matrix);
    return ClockwiseTurnOf(matrix);
  }
  return 0;
}

TBitmap TurnedClockwise(const TBitmap& source, int degrees) {
  if ((degrees != 90 && degrees != 180 && degrees != 270) || source.Empty()) return source;
  const bool sideways = degrees != 180;
  TBitmap turned;
  turned.SetFormat(source.PixelFormat(), source.BitsPerPixel());
  turned.SetSize(sideways ? source.Height() : source.Width(), sideways ? source.Width() : source.Height());
  const std::size_t pixelBytes = (static_cast<std::size_t>(source.BitsPerPixel()) + 7) / 8;
  const TTurn turn{degrees, source.Width(), source.Height()};
  for (int y = 0; y < source.Height(); ++y) {
    const std::uint8_t* from = source.Row(y);
    for (int x = 0; x < source.Width(); ++x, from += pixelBytes) {
      int toX = 0, toY = 0;
      turn.Place(x, y, toX, toY);
      std::memcpy(turned.Row(toY) + static_cast<std::size_t>(toX) * pixelBytes, from, pixelBytes);
    }
  }
  return turned;
}
