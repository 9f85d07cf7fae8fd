// Build-time tool: draws the about box's picture, a light grey figure holding up a large
// blank board, encodes it as JPEG and writes a C++ source that carries the bytes.
//
//   make_about_picture OUT.cpp [OUT.jpg]
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs size_t and FILE declared first
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 406;
constexpr int kHeight = 385;

struct Colour {
  float r, g, b;
};

// A shape is its signed distance: negative inside, positive outside, in pixels.
using Shape = std::function<float(float x, float y)>;

Shape Circle(float cx, float cy, float radius) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape RoundedBox(float left, float top, float right, float bottom, float radius) {
  const float cx = (left + right) / 2, cy = (top + bottom) / 2;
  const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  return [=](float x, float y) {
    const float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    return std::hypot(std::max(qx, 0.f), std::max(qy, 0.f)) + std::min(std::max(qx, qy), 0.f) -
           radius;
  };
}

// A thick line with round ends.
Shape Limb(float ax, float ay, float bx, float by, float radius) {
  return [=](float x, float y) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.f, 1.f);
    return std::hypot(px - t * dx, py - t * dy) - radius;
  };
}

Shape Outline(Shape shape, float width) {
  return [=](float x, float y) { return std::abs(shape(x, y)) - width / 2; };
}

class Canvas {
 public:
  Canvas() : pixels_(static_cast<std::size_t>(kWidth) * kHeight, Colour{255, 255, 255}) {}

  // `softness` widens the edge: 1 is a crisp anti-aliased edge, more gives a soft shadow.
  void Fill(const Shape& shape, Colour colour, float softness = 1) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const float d = shape(x + 0.5f, y + 0.5f);
        const float cover = std::clamp(0.5f - d / softness, 0.f, 1.f);
        if (cover <= 0) continue;
        Colour& p = pixels_[static_cast<std::size_t>(y) * kWidth + x];
        p.r += (colour.r - p.r) * cover;
        p.g += (colour.g - p.g) * cover;
        p.b += (colour.b - p.b) * cover;
      }
  }

  std::vector<unsigned char> Rgb() const {
    std::vector<unsigned char> rgb;
    rgb.reserve(pixels_.size() * 3);
    for (const Colour& p : pixels_)
      for (float c : {p.r, p.g, p.b}) rgb.push_back(static_cast<unsigned char>(std::lround(c)));
    return rgb;
  }

 private:
  std::vector<Colour> pixels_;
};

void Draw(Canvas& canvas) {
  const Colour figure{200, 200, 202};
  const Colour shadow{226, 226, 228};
  const Colour edge{178, 178, 180};
  const Colour white{255, 255, 255};
  const float mid = 231.5f;  // the centre of the two labels that stand on the board

  // Arms first, so that the body covers the shoulders; hands last, gripping the board.
  for (float side : {-1.f, 1.f}) {
    const float shoulderX = mid + side * 40, elbowX = mid + side * 72, handX = mid + side * 108;
    canvas.Fill(Limb(shoulderX, 352, elbowX, 318, 10), figure);
    canvas.Fill(Limb(elbowX, 318, handX, 262, 9), figure);
  }
  canvas.Fill(RoundedBox(mid - 52, 330, mid + 52, 430, 32), figure);
  canvas.Fill(Circle(mid, 299, 25), figure);

  const Shape board = RoundedBox(60, 98, 403, 264, 10);
  canvas.Fill(RoundedBox(63, 102, 406, 268, 10), shadow, 6);
  canvas.Fill(board, white);
  canvas.Fill(Outline(board, 2), edge);
  for (float side : {-1.f, 1.f}) canvas.Fill(Circle(mid + side * 108, 259, 12), figure);
}

// libjpeg reports a failure by calling exit() itself; for a build tool that is the
// right ending.
std::vector<unsigned char> EncodeJpeg(const std::vector<unsigned char>& rgb) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(rgb.data()) +
                   static_cast<std::size_t>(info.next_scanline) * kWidth * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<unsigned char> jpeg(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return jpeg;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: make_about_picture OUT.cpp [OUT.jpg]\n";
    return 2;
  }
  Canvas canvas;
  Draw(canvas);
  const std::vector<unsigned char> jpeg = EncodeJpeg(canvas.Rgb());

  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << "// Generated by make_about_picture: the about box's picture, " << kWidth << " by "
      << kHeight << " pixels, JPEG.\n"
      << "#include \"about/AboutPicture.h\"\n\n"
      << "namespace {\nconst unsigned char kPicture[" << jpeg.size() << "] = {";
  for (std::size_t i = 0; i < jpeg.size(); ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X,", jpeg[i]);
    out << (i % 16 == 0 ? "\n  " : " ") << hex;
  }
  out << "\n};\n}  // namespace\n\n"
      << "std::span<const unsigned char> AboutPictureJpeg() { return kPicture; }\n";
  if (argc == 3) {
    std::ofstream picture(argv[2], std::ios::binary | std::ios::trunc);
    picture.write(reinterpret_cast<const char*>(jpeg.data()),
                  static_cast<std::streamsize>(jpeg.size()));
  }
  return out.good() ? 0 : 1;
}
