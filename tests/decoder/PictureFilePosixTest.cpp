// Saved frame pictures and what only POSIX systems have: pipes, symbolic links, modes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "FFDecode/PictureFile.h"
#include "decoder/GradientPicture.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

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
