// --set-mtime where the file does not take the time: the rename or copy stands and stays
// done, and the row says what became of the time. POSIX-only: a file owned by another
// user, and a loop-mounted file system with a narrow time range.
#include <gtest/gtest.h>

#include <unistd.h>

#include "support/TestVolume.h"
#include "support/Unprivileged.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

class SetMtimeTest : public CopyFolderTest {
 protected:
  void SetUp() override {
    CopyFolderTest::SetUp();
    ChangeOptions(workflow, [](TRunOptions& o) { o.Plan.SetMtime = true; });
  }
};

// Renaming takes the right to write the folder; setting a time takes owning the file.
TEST_F(SetMtimeTest, AFileTheUserMayRenameButNotTouchIsRenamedWithANote) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, to own a file that another user renames";
  if (!ReachableUnprivileged(folder)) GTEST_SKIP() << "the test folder is out of an unprivileged user's reach";
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", "2015-06-01T10:20:30Z").string();
  fs::permissions(folder.path(), fs::perms::all);
  const auto seen = RunUnprivileged([&] {
    workflow.SelectFiles({file});
    workflow.RenameFiles();
    return ResultOf(workflow.Rows()[0]);
  });
  ASSERT_TRUE(seen) << "cannot drop root's rights here";
  EXPECT_EQ(*seen, "renamed (modification time not set: Operation not permitted)");
  EXPECT_TRUE(fs::exists(folder / "2015-06-01T10_20_30Z.flac"));
  EXPECT_FALSE(fs::exists(file));
}

// The system clamps such a time without an error: only reading it back tells. A fraction
// of a second that the file system does not keep is no such case.
TEST_F(SetMtimeTest, ATimeTheFileSystemCannotHoldIsToldAndTheFileKept) {
  TestVolume volume(TVolumeKind::NarrowTimeExt4);
  if (!volume.Problem().empty()) GTEST_SKIP() << volume.Problem();
  const fs::path copies = volume.Root() / "out";
  fs::create_directory(copies);
  std::vector<std::string> files;
  for (const char* time : {"2100-01-01T00:00:00.000000Z", "1850-01-01T00:00:00.000000Z", "2015-06-01T10:20:30.500000Z"})
    files.push_back(MakeClipWithCreationTime(volume.Root() / (std::string(time, 4) + ".flac"), time).string());
  const std::string late = "(modification time not set: the file system holds 2038-01-19T03:14:07.000000Z at most)";
  const std::string early =
      "(modification time not set: the file system holds 1901-12-13T20:45:52.000000Z at the earliest)";
  workflow.SelectFiles(files);
  workflow.CopyFiles(copies.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied " + late);
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "copied " + early);
  EXPECT_EQ(ResultOf(workflow.Rows()[2]), "copied");
  EXPECT_TRUE(fs::exists(copies / "2100-01-01T00_00_00.000000Z.flac"));
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed " + late);
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "renamed " + early);
  EXPECT_EQ(ResultOf(workflow.Rows()[2]), "renamed");
  EXPECT_TRUE(fs::exists(volume.Root() / "1850-01-01T00_00_00.000000Z.flac"));
}

}  // namespace
