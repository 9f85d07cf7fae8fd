// Saved frame pictures, read back by the libraries' own tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FFDecode/PictureFile.h"
#include "decoder/GradientPicture.h"
#include "support/FrameMedia.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestNeeds.h"

namespace fs = std::filesystem;

namespace {

std::string AsBgr(const TBitmap& bitmap) {
  std::string pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      pixels.append(reinterpret_cast<const char*>(bitmap.Row(y) + x * bitmap.BitsPerPixel() / 8), 3);
  return pixels;
}

std::string DecodedAsBgr(const fs::path& file) {
  return CaptureTool("ffmpeg", {"-v", "error", "-nostdin", "-i", file.string(), "-f", "rawvideo", "-pix_fmt", "bgr24", "-"});
}

double MeanDifference(const std::string& a, const std::string& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    sum += std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]));
  return a.empty() ? 0 : sum / static_cast<double>(a.size());
}

TEST(PictureFileTest, TheNameChoosesTheFormat) {
  EXPECT_TRUE(IsBitmapFileName("a.bmp"));
  EXPECT_TRUE(IsBitmapFileName("/x/A.BMP"));
  EXPECT_TRUE(IsBitmapFileName(".bMp"));
  EXPECT_FALSE(IsBitmapFileName("a.png"));
  EXPECT_FALSE(IsBitmapFileName("bmp"));
  EXPECT_FALSE(IsBitmapFileName("a.bmp.jpg"));
}

TEST(PictureFileTest, BitmapsReadBackExactlyInBothDepths) {
  TempFolder folder;
  for (const int bits : {24, 32}) {
    SCOPED_TRACE(bits);
    const TBitmap bitmap = Gradient(13, 7, bits);  // odd width: rows carry padding
    const fs::path file = folder / ("frame" + std::to_string(bits) + ".BMP");
    std::string error;
    ASSERT_TRUE(SavePictureFile(bitmap, file.string(), error)) << error;
    EXPECT_EQ(ReadWholeFile(file).substr(0, 2), "BM");
    EXPECT_EQ(DecodedAsBgr(file), AsBgr(bitmap));
  }
}

TEST(PictureFileTest, OtherNamesGetColourJpegAtHighQuality) {
  TempFolder folder;
  const TBitmap bitmap = Gradient(64, 48, 32);
  for (const char* name : {"frame.jpg", "frame.png"}) {
    const fs::path file = folder / name;
    std::string error;
    ASSERT_TRUE(SavePictureFile(bitmap, file.string(), error)) << error;
    const std::string bytes = ReadWholeFile(file);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8") << name << " holds JPEG data whatever its extension";
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos) << "baseline";
    EXPECT_EQ(bytes.find("\xFF\xC2"), std::string::npos) << "not progressive";
    const std::string decoded = DecodedAsBgr(file);
    ASSERT_EQ(decoded.size(), AsBgr(bitmap).size());
    EXPECT_LT(MeanDifference(decoded, AsBgr(bitmap)), 3.0);
  }
}

TEST(PictureFileTest, AFailedWriteSaysWhyAndLeavesNoPartialFile) {
  MORVANE_NEEDS(Missing(TNeed::PosixErrorTexts));
  TempFolder folder;
  const TBitmap bitmap = Gradient(8, 8, 24);
  std::string error;
  EXPECT_FALSE(SavePictureFile(bitmap, (folder / "missing" / "a.jpg").string(), error));
  EXPECT_EQ(error, "No such file or directory");

  const fs::path taken = folder / "taken.bmp";
  fs::create_directory(taken);
  EXPECT_FALSE(SavePictureFile(bitmap, taken.string(), error));
  EXPECT_EQ(error, "Is a directory");
  EXPECT_TRUE(fs::is_directory(taken));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
      << "no temporary file is left behind";

  const fs::path old = folder.WriteFile("old.jpg", "old");
  EXPECT_FALSE(SavePictureFile(TBitmap{}, old.string(), error));
  EXPECT_EQ(error, "the picture is empty.");
  EXPECT_EQ(ReadWholeFile(old), "old");
  TBitmap eightBits;
  eightBits.SetFormat(AV_PIX_FMT_BGR8, 8);
  eightBits.SetSize(4, 4);
  EXPECT_FALSE(SavePictureFile(eightBits, old.string(), error));
  EXPECT_EQ(error, "pictures of 8 bits per pixel cannot be saved.");
  ASSERT_TRUE(SavePictureFile(bitmap, old.string(), error));
  EXPECT_EQ(ReadWholeFile(old).substr(0, 2), "\xFF\xD8") << "a successful save replaces the file";
}

}  // namespace
