// Decoded pictures in many formats, their conversion into the bitmap, deinterlacing, and
// the frames that cannot be stored.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FFDecode/Deinterlace.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "support/FrameMedia.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace {

class ProbeDecoder : public TFFDecoder {
 public:
  using TFFDecoder::ApplyOpenOptions;
  using TFFDecoder::AtEndOfInput;
  using TFFDecoder::EndOfInput;
  using TFFDecoder::StoreFrame;
};

class ErrorLog {
 public:
  ErrorLog() {
    logger_.SetOnLog([this](const void*, std::uint32_t, TLogLevel level, const std::string& message) {
      // The libraries' own complaints come through the relay too; only the decoder's count.
      if (level == llError && message == "deinterlacing failed.") ++deinterlaceFailures_;
      if (level == llError && message.rfind("TFFDecoder.", 0) == 0) errors_.push_back(message);
    });
  }
  const std::vector<std::string>& errors() const { return errors_; }
  int deinterlaceFailures() const { return deinterlaceFailures_; }

 private:
  TFFLogger logger_;
  std::vector<std::string> errors_;
  int deinterlaceFailures_ = 0;
};

// The bitmap's pixels without the padding at the end of each row.
std::string Pixels(const TBitmap& bitmap) {
  std::string pixels;
  const std::size_t row = static_cast<std::size_t>(bitmap.Width()) * bitmap.BitsPerPixel() / 8;
  for (int y = 0; y < bitmap.Height(); ++y) pixels.append(reinterpret_cast<const char*>(bitmap.Row(y)), row);
  return pixels;
}

int LargestDifference(const std::string& a, const std::string& b) {
  int largest = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    largest = std::max(largest, std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i])));
  return largest;
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { RequireMediaLibraries(); }
  void Open(const fs::path& file) { ASSERT_TRUE(decoder_.LoadFile(Wide(file))) << decoder_.LastErrMsg(); }
  TempFolder folder_;
  ProbeDecoder decoder_;
};

struct FormatCase {
  const char* codec;
  const char* pixelFormat;
  int width;
  int height;
  AVPixelFormat decoded;
};

TEST_F(PictureTest, EveryFormatIsStoredAndConvertsAsTheLibrariesOwnToolDoes) {
  const FormatCase cases[] = {
      {"ffv1", "yuv422p10le", 48, 32, AV_PIX_FMT_YUV422P10LE}, {"png", "rgb24", 40, 30, AV_PIX_FMT_RGB24},
      {"png", "pal8", 40, 30, AV_PIX_FMT_PAL8},                 {"ffv1", "gray", 33, 17, AV_PIX_FMT_GRAY8},
      {"ffv1", "yuv444p", 1, 1, AV_PIX_FMT_YUV444P},           {"ffv1", "yuv420p", 4097, 9, AV_PIX_FMT_YUV420P},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(std::string(c.pixelFormat) + " " + std::to_string(c.width) + "x" + std::to_string(c.height));
    const fs::path file = MakePictureFormatClip(folder_ / (std::string(c.pixelFormat) + ".mkv"), c.codec,
                                                c.pixelFormat, c.width, c.height);
    Open(file);
    ASSERT_TRUE(decoder_.Decode()) << decoder_.LastErrMsg();
    EXPECT_EQ(decoder_.Frame().PixelFormat, c.decoded);
    EXPECT_EQ(decoder_.Frame().Width, c.width);
    EXPECT_EQ(decoder_.Frame().Height, c.height);
    ASSERT_TRUE(decoder_.Convert(c.width, c.height)) << decoder_.LastErrMsg();
    const std::string reference = FirstFrameAsBgra(file);
    const std::string ours = Pixels(decoder_.Converter().Bitmap());
    ASSERT_EQ(ours.size(), reference.size());
    EXPECT_LE(LargestDifference(ours, reference), 2) << "the stored planes (and palette) are the decoded ones";
  }
}

TEST_F(PictureTest, RotationMetadataLeavesThePictureAsCoded) {
  MediaSpec spec;
  spec.extra = {"-metadata:s:v", "rotate=90", "-pix_fmt", "yuv420p"};
  Open(MakeMedia(folder_ / "rotated.mp4", spec));
  ASSERT_TRUE(decoder_.Decode());
  int width = 0;
  int height = 0;
  decoder_.DisplaySize(width, height);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
}

TEST_F(PictureTest, AnUprightPictureIsTurnedAsTheLibrariesOwnToolShowsIt) {
  for (const int rotate : {0, 90, 180, 270, -90}) {
    const fs::path file = MakeTurnedClip(folder_ / ("turned" + std::to_string(rotate) + ".mp4"), 48, 32, rotate);
    Open(file);
    ASSERT_TRUE(decoder_.Decode()) << decoder_.LastErrMsg();
    ASSERT_TRUE(decoder_.ConvertUpright(48, 32)) << decoder_.LastErrMsg();
    const TBitmap& bitmap = decoder_.Converter().Bitmap();
    const bool sideways = rotate == 90 || rotate == 270 || rotate == -90;
    EXPECT_EQ(bitmap.Width(), sideways ? 32 : 48) << rotate;
    EXPECT_EQ(bitmap.Height(), sideways ? 48 : 32) << rotate;
    const std::string reference = FirstFrameAsBgra(file);
    const std::string ours = Pixels(bitmap);
    ASSERT_EQ(ours.size(), reference.size()) << rotate;
    EXPECT_LE(LargestDifference(ours, reference), 2) << rotate;
  }
}

TEST_F(PictureTest, TheDisplaySizeAppliesTheSampleAspect) {
  MediaSpec spec;
  spec.extra = {"-vf", "setsar=2/1", "-c:v", "ffv1"};
  Open(MakeMedia(folder_ / "wide.mkv", spec));
  int width = 0;
  int height = 0;
  decoder_.DisplaySize(width, height);
  EXPECT_EQ(width, 0) << "no frame yet";
  ASSERT_TRUE(decoder_.Decode());
  decoder_.DisplaySize(width, height);
  EXPECT_EQ(width, 128);
  EXPECT_EQ(height, 48);
}

TEST_F(PictureTest, ANewDecoderConvertsToThirtyTwoBitsWithBicubicFlags) {
  TFormatConverter& converter = decoder_.Converter();
  EXPECT_EQ(converter.ScalerFlags, SWS_BICUBIC);
  EXPECT_EQ(converter.TargetPixelFormat(), AV_PIX_FMT_BGRA);
  EXPECT_EQ(converter.TargetBitsPerPixel(), 32);
  EXPECT_TRUE(converter.Bitmap().Empty());
  EXPECT_FALSE(decoder_.Convert(10, 10));
  EXPECT_EQ(decoder_.LastErrMsg(), "no frame decoded.");
}

TEST_F(PictureTest, ConvertCachesItsScalerAndRefusesBadSizes) {
  Open(MakeH264Clip(folder_ / "clip.mp4"));
  EXPECT_FALSE(decoder_.Convert(16, 16));
  EXPECT_EQ(decoder_.LastErrMsg(), "no frame decoded.");
  ASSERT_TRUE(decoder_.Decode());
  TFormatConverter& converter = decoder_.Converter();
  const int before = converter.ScalersMade();
  ASSERT_TRUE(decoder_.Convert(80, 60));
  ASSERT_TRUE(decoder_.Decode());
  ASSERT_TRUE(decoder_.Convert(80, 60));
  EXPECT_EQ(converter.ScalersMade(), before + 1) << "reused while nothing changes";
  ASSERT_TRUE(decoder_.Convert(81, 60));
  converter.ScalerFlags = SWS_BILINEAR;
  ASSERT_TRUE(decoder_.Convert(81, 60));
  converter.SetBitmapPixelFormat(TBitmapPixelFormat::pf24bit);
  ASSERT_TRUE(decoder_.Convert(81, 60));
  EXPECT_EQ(converter.ScalersMade(), before + 4) << "rebuilt for a new size, new flags and a new target";
  EXPECT_EQ(converter.Bitmap().BitsPerPixel(), 24);
  EXPECT_EQ(converter.Bitmap().Stride(), 244) << "rows start on four-byte boundaries";

  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{0, 10}, {10, -1}, {1 << 20, 1 << 20}}) {
    EXPECT_FALSE(decoder_.Convert(width, height));
    EXPECT_EQ(decoder_.LastErrMsg(),
              "picture size " + std::to_string(width) + "x" + std::to_string(height) + " is invalid.");
    EXPECT_TRUE(converter.Bitmap().Empty());
  }
}

TEST_F(PictureTest, TheTableRowsGiveTheirFormats) {
  const std::pair<TBitmapPixelFormat, std::pair<int, AVPixelFormat>> rows[] = {
      {TBitmapPixelFormat::pf8bit, {8, AV_PIX_FMT_BGR8}},
      {TBitmapPixelFormat::pf15bit, {16, AV_PIX_FMT_BGR555LE}},
      {TBitmapPixelFormat::pf16bit, {16, AV_PIX_FMT_BGR565LE}},
      {TBitmapPixelFormat::pf24bit, {24, AV_PIX_FMT_BGR24}},
      {TBitmapPixelFormat::pf32bit, {32, AV_PIX_FMT_BGRA}},
  };
  TFormatConverter converter;
  for (const auto& [row, expected] : rows) {
    converter.SetBitmapPixelFormat(row);
    EXPECT_EQ(converter.TargetBitsPerPixel(), expected.first);
    EXPECT_EQ(converter.TargetPixelFormat(), expected.second);
    EXPECT_EQ(converter.Bitmap().PixelFormat(), expected.second);
  }
}

TEST_F(PictureTest, ScalerFlagsComeFromTheOptionStoreWhenItCanSay) {
  decoder_.Converter().ScalerFlags = 7;
  Open(MakeMedia(folder_ / "clip.mkv"));
  EXPECT_EQ(decoder_.Converter().ScalerFlags, SWS_BICUBIC) << "the store's scaler context carries 4";

  TFFOptions store;
  store.SwsFlags = SWS_BILINEAR;
  decoder_.ApplyOpenOptions(store);
  EXPECT_EQ(decoder_.Converter().ScalerFlags, SWS_BICUBIC) << "without a scaler context the flags stay";
  store.InitOptions();
  decoder_.ApplyOpenOptions(store);
  EXPECT_EQ(decoder_.Converter().ScalerFlags, SWS_BILINEAR);
}

TEST(DeinterlaceTest, BlendsCombedLinesAndKeepsAFlatPictureFlat) {
  constexpr int kWidth = 8;
  constexpr int kHeight = 6;
  std::vector<std::uint8_t> combed(kWidth * kHeight);
  std::vector<std::uint8_t> flat(kWidth * kHeight, 77);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) combed[static_cast<std::size_t>(y * kWidth + x)] = y % 2 ? 200 : 40;
  std::vector<std::uint8_t> out(kWidth * kHeight);
  auto picture = [](std::vector<std::uint8_t>& plane, int height) {
    TPicture p;
    p.Data[0] = plane.data();
    p.Linesize[0] = kWidth;
    p.Format = AV_PIX_FMT_GRAY8;
    p.Width = kWidth;
    p.Height = height;
    return p;
  };
  ASSERT_TRUE(DeinterlacePicture(picture(combed, kHeight), picture(out, kHeight)));
  for (int y = 1; y < kHeight - 1; ++y) EXPECT_EQ(out[static_cast<std::size_t>(y * kWidth)], 120) << "line " << y;
  ASSERT_TRUE(DeinterlacePicture(picture(flat, kHeight), picture(out, kHeight)));
  EXPECT_EQ(out, flat);

  EXPECT_FALSE(DeinterlacePicture(picture(flat, 2), picture(out, 2))) << "fewer than 3 lines";
  TPicture rgb = picture(flat, kHeight);
  rgb.Format = AV_PIX_FMT_RGB24;
  EXPECT_FALSE(DeinterlacePicture(rgb, picture(out, kHeight)));
  EXPECT_TRUE(CanDeinterlace(AV_PIX_FMT_YUVJ411P));
  EXPECT_FALSE(CanDeinterlace(AV_PIX_FMT_YUV420P10LE));
}

TEST_F(PictureTest, InterlacedMaterialIsDeinterlacedAndOtherFormatsSwitchItOff) {
  const fs::path interlaced = folder_ / "interlaced.mkv";
  ASSERT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=50:duration=1", "-vf", "tinterlace=4", "-c:v",
                       "libx264", "-flags", "+ildct+ilme", "-pix_fmt", "yuv420p", interlaced.string()}),
            0);
  Open(interlaced);
  ASSERT_TRUE(decoder_.Decode());
  EXPECT_TRUE(decoder_.Frame().InterlacedFrame);
  ASSERT_TRUE(decoder_.Convert(64, 48));
  const std::string woven = Pixels(decoder_.Converter().Bitmap());
  Open(interlaced);
  decoder_.Deinterlace = true;
  ASSERT_TRUE(decoder_.Decode());
  EXPECT_TRUE(decoder_.Deinterlace);
  ASSERT_TRUE(decoder_.Convert(64, 48));
  EXPECT_NE(Pixels(decoder_.Converter().Bitmap()), woven);

  ErrorLog log;
  Open(MakePictureFormatClip(folder_ / "rgb.mkv", "png", "rgb24", 16, 16));
  ASSERT_TRUE(decoder_.Decode());
  EXPECT_FALSE(decoder_.Deinterlace) << "switched off by the decoder";
  EXPECT_TRUE(decoder_.Frame().FrameReady) << "the frame is stored as decoded";
  EXPECT_EQ(log.errors(), std::vector<std::string>{}) << "no decoder error besides the one below";
  EXPECT_EQ(log.deinterlaceFailures(), 1);
}

TEST_F(PictureTest, APictureTheLibrariesRefuseIsPassedOverWithoutAWrite) {
  Open(MakeMedia(folder_ / "clip.mkv"));
  ASSERT_TRUE(decoder_.Decode());
  const std::int64_t before = decoder_.FramePTS();
  ff::FramePtr frame(ff::avutil.av_frame_alloc());
  std::uint8_t pixel = 0;
  ErrorLog log;
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{70000, 70000}, {-4, 10}, {0, 0}}) {
    TPicture huge;
    huge.Data[0] = huge.Data[1] = huge.Data[2] = &pixel;
    huge.Format = AV_PIX_FMT_YUV420P;
    huge.Width = width;
    huge.Height = height;
    EXPECT_FALSE(decoder_.StoreFrame(huge, *frame, TFrameFacts{}));
  }
  EXPECT_EQ(decoder_.FramePTS(), before);
  EXPECT_EQ(decoder_.Frame().Width, 64);
  ASSERT_EQ(log.errors().size(), 3u);
  EXPECT_NE(log.errors()[0].find("a picture of 70000x70000 cannot be stored"), std::string::npos) << log.errors()[0];
}

TEST_F(PictureTest, ASourceWithoutAnIOContextCountsAsEnded) {
  Open(MakeMedia(folder_ / "clip.mkv"));
  AVFormatContext* context = decoder_.FormatContext();
  EXPECT_FALSE(decoder_.AtEndOfInput());
  EXPECT_FALSE(decoder_.EndOfInput(AVERROR(EIO)));
  EXPECT_EQ(decoder_.LastErrMsg(), "TFFDecoder.Decode() for video: unknown error #-5.");
  EXPECT_FALSE(decoder_.EndOfStream());
  AVIOContext* io = context->pb;
  context->pb = nullptr;
  EXPECT_TRUE(decoder_.AtEndOfInput());
  EXPECT_FALSE(decoder_.EndOfInput(AVERROR(EIO)));
  context->pb = io;
  EXPECT_EQ(decoder_.LastErrMsg(), "TFFDecoder.Decode() for video: stream eof reached.");
  EXPECT_TRUE(decoder_.EndOfStream());
}

}  // namespace
