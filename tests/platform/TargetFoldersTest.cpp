// The folders made below a chosen folder for new names (TargetFolders.h): made only where
// missing and told to the caller, files moved in and out without replacing, a level swapped
// during the run told, and a made folder removed only while it is that folder and empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FolderNames.h"
#include "platform/TargetFolders.h"
#include "support/Succeeded.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform::FolderWalk;
using platform::NoReplaceResult;

class TargetFoldersTest : public ::testing::Test {
 protected:
  // Opens "2019/11 ü" below the temporary folder; the folders made go to `made`.
  void Open(platform::TargetFolder& target, std::vector<platform::MadeFolder>& made) const {
    ASSERT_TRUE(Succeeded(target.Open(Utf8(root_.path()), "2019/11 ü", made)));
  }
  // The path of `relative` ("a/b") below the temporary folder, as the platform layer spells it.
  std::string PathOf(std::string relative) const {
    std::replace(relative.begin(), relative.end(), '/', platform::PathDelimiter);
    return Utf8(root_.path()) + platform::PathDelimiter + relative;
  }
  // Puts a new folder in the place of `path`, keeping the old one elsewhere, so that the new
  // one cannot take over the old one's identity.
  void Replace(const std::string& relative) const {
    fs::rename(root_ / relative, root_ / "kept elsewhere");
    fs::create_directories(root_ / (relative + "/11 ü"));
  }

  const TempFolder root_;
};

TEST_F(TargetFoldersTest, MissingLevelsAreMadeOutermostFirstAndOnlyOnce) {
  platform::TargetFolder target;
  std::vector<platform::MadeFolder> made;
  Open(target, made);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0].Path, PathOf("2019"));
  EXPECT_EQ(made[1].Path, PathOf("2019/11 ü"));
  platform::FileStatus status;
  ASSERT_TRUE(platform::GetFileStatus(made[1].Path, status));
  EXPECT_TRUE(status.isDirectory);
  EXPECT_EQ(made[1].Device, status.device);
  EXPECT_EQ(made[1].Inode, status.inode);
  EXPECT_EQ(target.PathOf("a 🎥.mp4"), PathOf("2019/11 ü/a 🎥.mp4"));

  platform::TargetFolder again;
  std::vector<platform::MadeFolder> madeAgain;
  Open(again, madeAgain);
  EXPECT_TRUE(madeAgain.empty());
}

TEST_F(TargetFoldersTest, FilesMoveInAndOutWithoutReplacing) {
  platform::TargetFolder target;
  std::vector<platform::MadeFolder> made;
  Open(target, made);
  const std::string from = Utf8(root_.WriteFile("clip 夏.mp4", "clip"));
  root_.WriteFile("2019/11 ü/taken ✓.mp4", "taken");
  const auto taken = target.MoveInto(from, "taken ✓.mp4");
  EXPECT_EQ(taken.Kind(), NoReplaceResult::TargetExists);
  EXPECT_EQ(taken.Message(), platform::ErrorText(EEXIST));
  ASSERT_TRUE(Succeeded(target.MoveInto(from, "new 🎥.mp4")));
  EXPECT_EQ(ReadWholeFile(root_ / "2019/11 ü/new 🎥.mp4"), "clip");
  EXPECT_EQ(ReadWholeFile(root_ / "2019/11 ü/taken ✓.mp4"), "taken");

  const std::string outside = Utf8(root_.WriteFile("outside.mp4", "outside"));
  EXPECT_EQ(target.MoveOut("new 🎥.mp4", outside).Kind(), NoReplaceResult::TargetExists);
  EXPECT_EQ(ReadWholeFile(root_ / "outside.mp4"), "outside");
  ASSERT_TRUE(Succeeded(target.MoveOut("new 🎥.mp4", from)));
  EXPECT_EQ(ReadWholeFile(root_ / "clip 夏.mp4"), "clip");

  EXPECT_TRUE(target.Remove("taken ✓.mp4"));
  EXPECT_FALSE(target.Remove("taken ✓.mp4"));
  EXPECT_EQ(NamesIn(root_ / "2019/11 ü"), FolderNames{});
}

TEST_F(TargetFoldersTest, ALevelReplacedSinceItWasOpenedIsToldOnRecheck) {
  platform::TargetFolder target;
  std::vector<platform::MadeFolder> made;
  Open(target, made);
  EXPECT_TRUE(Succeeded(target.Recheck()));
  Replace("2019");
  const auto replaced = target.Recheck();
  EXPECT_EQ(replaced.Kind(), FolderWalk::Failed);
  EXPECT_EQ(replaced.Message(), PathOf("2019") + " was moved or replaced during the run");
}

TEST_F(TargetFoldersTest, AMadeFolderGoesOnlyWhileItIsThatFolderAndEmpty) {
  platform::TargetFolder target;
  std::vector<platform::MadeFolder> made;
  Open(target, made);
  root_.WriteFile("2019/11 ü/kept.mp4", "kept");
  platform::RemoveMadeFolder(made[1]);
  EXPECT_TRUE(fs::exists(root_ / "2019/11 ü/kept.mp4")) << "a folder with a file in it stays";
  fs::remove(root_ / "2019/11 ü/kept.mp4");
  platform::RemoveMadeFolder(made[1]);
  EXPECT_FALSE(fs::exists(root_ / "2019/11 ü"));

  Replace("2019");
  fs::remove(root_ / "2019/11 ü");
  platform::RemoveMadeFolder(made[0]);
  EXPECT_TRUE(fs::exists(root_ / "2019")) << "another folder in its place stays, empty as it is";
}

}  // namespace
