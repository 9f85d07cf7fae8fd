// Saved frame pictures, read back by the libraries' own tool.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "FFDecode/PictureFile.h"
#include "support/FrameMedia.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// A smooth picture whose channels differ: blue grows to the right, green downwards, red
// shrinks towards the bottom right.
TBitmap Gradient(int width, int height, int bitsPerPixel) {
  TBitmap bitmap;
  bitmap.SetFormat(bitsPerPixel == 24 ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_BGRA, bitsPerPixel);
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* pixel = bitmap.Row(y) + x * bitsPerPixel / 8;
      pixel[0] = static_cast<std::uint8_t>(x * 3);
      pixel[1] = static_cast<std::uint8_t>(y * 4);
      pixel[2] = static_cast<std::uint8_t>(250 - x * 2 - y);
      if (bitsPerPixel == 32) pixel[3] = 255;
    }
  }
  return bitmap;
}

std::string AsBgr(const TBitmap& bitmap) {
  std::string pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      pixels.append(reinterpret_cast<const char*>(bitmap.Row(y) + x * bitmap.BitsPerPixel() / 8), 3);
  return pixels;
}

std::string DecodedAsBgr(const fs::path& file) {
  return CaptureCommand("ffmpeg -v error -nostdin -i '" + file.string() + "' -f rawvideo -pix_fmt bgr24 -");
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

// A frame saved over the clip it comes from would destroy the clip; a device or a pipe
// would be replaced by a file. Neither is written, under any name.
TEST(PictureFileTest, AFrameNeverReplacesItsSourceOrWhatIsNotARegularFile) {
  TempFolder folder;
  const TBitmap bitmap = Gradient(8, 8, 24);
  const fs::path clip = folder.WriteFile("clip.mp4", "the clip");
  fs::create_hard_link(clip, folder / "other name.jpg");
  fs::create_symlink(clip, folder / "link.bmp");
  const fs::path pipe = folder / "pipe.jpg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::create_directory(folder / "folder.jpg");
  for (const fs::path& target : {clip, folder / "other name.jpg", folder / "link.bmp", pipe, folder / "folder.jpg"}) {
    std::string error;
    EXPECT_EQ(SaveFramePicture(bitmap, target.string(), clip.string(), error), TFrameSave::Refused) << target;
    EXPECT_NE(error, "") << target;
  }
  EXPECT_EQ(ReadWholeFile(clip), "the clip");
  EXPECT_TRUE(fs::is_symlink(folder / "link.bmp"));
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_TRUE(fs::is_directory(folder / "folder.jpg"));

  std::string error;
  EXPECT_EQ(SaveFramePicture(bitmap, (folder / "frame.bmp").string(), clip.string(), error), TFrameSave::Saved)
      << error;
  EXPECT_EQ(SaveFramePicture(bitmap, (folder / "frame.bmp").string(), clip.string(), error), TFrameSave::Saved)
      << "an earlier picture is replaced: " << error;
  EXPECT_EQ(SaveFramePicture(bitmap, (folder / "no" / "a.bmp").string(), clip.string(), error), TFrameSave::Failed);
}

TEST(PictureFileTest, AReplacedPictureKeepsItsModeAndANewOneTakesTheMask) {
  TempFolder folder;
  const TBitmap bitmap = Gradient(8, 8, 24);
  const mode_t savedMask = ::umask(027);
  std::string error;
  const fs::path fresh = folder / "new.jpg";
  EXPECT_TRUE(SavePictureFile(bitmap, fresh.string(), error)) << error;
  const fs::path secret = folder.WriteFile("secret.jpg", "old");
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(SavePictureFile(bitmap, secret.string(), error)) << error;
  const fs::path shared = folder.WriteFile("shared.bmp", "old");
  fs::permissions(shared, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read | fs::perms::others_write);
  EXPECT_TRUE(SavePictureFile(bitmap, shared.string(), error)) << error;
  ::umask(savedMask);

  EXPECT_EQ(fs::status(fresh).permissions(), fs::perms(0640));
  EXPECT_EQ(fs::status(secret).permissions(), fs::perms(0600)) << "a private file stays private";
  EXPECT_EQ(fs::status(shared).permissions(), fs::perms(0646));
  EXPECT_EQ(ReadWholeFile(secret).substr(0, 2), "\xFF\xD8");
}

}  // namespace
