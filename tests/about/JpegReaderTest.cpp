// The JPEG reader on the embedded about picture and on damaged data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "about/AboutPicture.h"
#include "about/JpegReader.h"

namespace {

std::vector<unsigned char> PictureBytes() {
  std::span<const unsigned char> jpeg = AboutPictureJpeg();
  return {jpeg.begin(), jpeg.end()};
}

struct Pixel {
  int r, g, b;
};

Pixel At(const RgbPicture& picture, int x, int y) {
  const unsigned char* p = picture.rgb.data() + (static_cast<std::size_t>(y) * picture.width + x) * 3;
  return {p[0], p[1], p[2]};
}

bool NearWhite(Pixel p) { return p.r >= 245 && p.g >= 245 && p.b >= 245; }
bool LightGrey(Pixel p) {
  return p.r >= 170 && p.r <= 230 && std::abs(p.r - p.g) <= 8 && std::abs(p.r - p.b) <= 8;
}

TEST(JpegReader, DecodesTheAboutPicture) {
  RgbPicture picture;
  std::string error;
  ASSERT_TRUE(DecodeJpeg(AboutPictureJpeg(), picture, error)) << error;
  EXPECT_EQ(error, "");
  ASSERT_EQ(picture.width, 406);
  ASSERT_EQ(picture.height, 385);
  ASSERT_EQ(picture.rgb.size(), 406u * 385u * 3u);

  // White page, white board behind both labels, a light grey figure below the board.
  EXPECT_TRUE(NearWhite(At(picture, 5, 5)));
  for (int y : {155, 170, 184, 225, 237})
    for (int x : {74, 150, 231, 388}) EXPECT_TRUE(NearWhite(At(picture, x, y))) << x << "," << y;
  EXPECT_TRUE(LightGrey(At(picture, 231, 299)));  // head
  EXPECT_TRUE(LightGrey(At(picture, 231, 370)));  // body
  EXPECT_FALSE(NearWhite(At(picture, 60, 180)));  // the board's edge is drawn
}

struct Corruption {
  const char* name;
  std::vector<unsigned char> (*make)();
};

const Corruption kCorruptions[] = {
    {"Empty", [] { return std::vector<unsigned char>(); }},
    {"NotAJpeg", [] { return std::vector<unsigned char>{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}; }},
    {"StartMarkerOnly", [] { return std::vector<unsigned char>{0xFF, 0xD8}; }},
    {"CutInHeaders", [] { auto b = PictureBytes(); b.resize(120); return b; }},
    {"CutInScan", [] { auto b = PictureBytes(); b.resize(b.size() / 2); return b; }},
    {"CutBeforeEnd", [] { auto b = PictureBytes(); b.resize(b.size() - 40); return b; }},
    {"ZeroWidth",
     [] {
       auto b = PictureBytes();
       for (std::size_t i = 0; i + 8 < b.size(); ++i)
         if (b[i] == 0xFF && b[i + 1] == 0xC0) {  // start of frame: ... height(2) width(2)
           b[i + 7] = 0;
           b[i + 8] = 0;
           break;
         }
       return b;
     }},
    {"HugeSize",
     [] {
       auto b = PictureBytes();
       for (std::size_t i = 0; i + 8 < b.size(); ++i)
         if (b[i] == 0xFF && b[i + 1] == 0xC0) {
           b[i + 5] = b[i + 6] = b[i + 7] = b[i + 8] = 0xFF;
           break;
         }
       return b;
     }},
};

class JpegCorrupt : public ::testing::TestWithParam<Corruption> {};

TEST_P(JpegCorrupt, FailsWithAMessageAndNoPicture) {
  const std::vector<unsigned char> bytes = GetParam().make();
  RgbPicture picture;
  picture.width = 1;  // stale content must not survive a failure
  picture.rgb.assign(3, 7);
  std::string error;
  EXPECT_FALSE(DecodeJpeg(bytes, picture, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(picture.width, 0);
  EXPECT_EQ(picture.height, 0);
  EXPECT_TRUE(picture.rgb.empty());
}

INSTANTIATE_TEST_SUITE_P(Data, JpegCorrupt, ::testing::ValuesIn(kCorruptions),
                         [](const auto& info) { return std::string(info.param.name); });

// The reader is used again after a failure: nothing of the failed run is left behind.
TEST(JpegReader, DecodesAfterAFailure) {
  RgbPicture picture;
  std::string error;
  std::vector<unsigned char> cut = PictureBytes();
  cut.resize(cut.size() / 3);
  ASSERT_FALSE(DecodeJpeg(cut, picture, error));
  ASSERT_TRUE(DecodeJpeg(AboutPictureJpeg(), picture, error)) << error;
  EXPECT_EQ(picture.width, 406);
  EXPECT_EQ(error, "");
}

}  // namespace
