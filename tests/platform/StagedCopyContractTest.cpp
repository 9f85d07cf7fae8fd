// A copy staged beside its target (StagedCopy.h): written under a temporary name, made
// durable, then named. A taken name leaves the copy staged for another try; a copy that is
// never named, stopped or refused leaves nothing in the folder.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FolderNames.h"
#include "platform/StagedCopy.h"
#include "platform/TargetFolders.h"
#include "support/Succeeded.h"
#include "support/TempFolder.h"

namespace {

using platform::NoReplaceResult;

// 2019-11-02T10:20:30.5Z and 2001-02-03T04:05:06.000007Z, in microseconds since 1970.
constexpr std::int64_t kSourceTime = 1572690030500000;
constexpr std::int64_t kSetTime = 981173106000007;

class StagedCopyContractTest : public ::testing::Test {
 protected:
  StagedCopyContractTest() {
    std::vector<platform::MadeFolder> made;
    EXPECT_TRUE(Succeeded(target_->Open(Utf8(folder_.path()), "Ziel 🎞", made)));
  }

  // Writes `from` into the target folder and makes it durable.
  void Stage(platform::StagedCopy& copy, const std::string& from) {
    ASSERT_TRUE(Succeeded(copy.Write(from, target_, true, nullptr)));
    ASSERT_TRUE(Succeeded(copy.Sync()));
  }
  FolderNames TargetNames() const { return NamesIn(folder_ / "Ziel 🎞"); }
  std::string TargetFile(const std::string& name) const { return ReadWholeFile(folder_ / ("Ziel 🎞/" + name)); }

  const TempFolder folder_;
  const std::string source_ = Utf8(folder_.WriteFile("Quelle ü.bin", "data"));
  const std::shared_ptr<platform::TargetFolder> target_ = std::make_shared<platform::TargetFolder>();
};

TEST_F(StagedCopyContractTest, ATakenNameKeepsTheCopyStagedForAnotherName) {
  folder_.WriteFile("Ziel 🎞/taken ✓.bin", "old");
  platform::StagedCopy copy;
  std::atomic<std::uint64_t> written = 0;
  ASSERT_TRUE(Succeeded(copy.Write(source_, target_, true, nullptr, &written)));
  EXPECT_EQ(written.load(), 4u);
  ASSERT_TRUE(Succeeded(copy.Sync()));
  const auto taken = copy.Place("taken ✓.bin", false);
  EXPECT_EQ(taken.Kind(), NoReplaceResult::TargetExists);
  EXPECT_EQ(taken.Message(), platform::ErrorText(EEXIST));
  EXPECT_TRUE(copy.Staged());
  EXPECT_EQ(TargetFile("taken ✓.bin"), "old");

  ASSERT_TRUE(Succeeded(copy.Place("frei 夏.bin", false)));
  EXPECT_FALSE(copy.Staged());
  EXPECT_EQ(TargetFile("frei 夏.bin"), "data");
  EXPECT_EQ(TargetNames(), (FolderNames{"frei 夏.bin", "taken ✓.bin"})) << "no temporary file is left";
}

TEST_F(StagedCopyContractTest, PlacingWithReplaceTakesTheName) {
  folder_.WriteFile("Ziel 🎞/taken ✓.bin", "old");
  platform::StagedCopy copy;
  Stage(copy, source_);
  ASSERT_TRUE(Succeeded(copy.Place("taken ✓.bin", true)));
  EXPECT_EQ(TargetFile("taken ✓.bin"), "data");
  EXPECT_EQ(TargetNames(), FolderNames{"taken ✓.bin"});
}

TEST_F(StagedCopyContractTest, ACopyNeverNamedLeavesNothing) {
  {
    platform::StagedCopy copy;
    Stage(copy, source_);
    EXPECT_EQ(TargetNames().size(), 1u) << "the staged data is in the folder";
  }
  EXPECT_EQ(TargetNames(), FolderNames{});
}

TEST_F(StagedCopyContractTest, AStopEndsTheWriteAndTakesItsFileAlong) {
  const std::atomic<bool> stop = true;
  platform::StagedCopy copy;
  const TResult wrote = copy.Write(source_, target_, true, &stop);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(wrote.Message(), platform::ErrorText(EINTR));
  EXPECT_FALSE(copy.Staged());
  EXPECT_EQ(TargetNames(), FolderNames{});
}

TEST_F(StagedCopyContractTest, OnlyAnExistingRegularFileIsCopied) {
  platform::StagedCopy copy;
  const TResult folder = copy.Write(Utf8(folder_.path()), target_, true, nullptr);
  EXPECT_FALSE(folder);
  EXPECT_EQ(folder.Message(), platform::NotRegularFile);
  const TResult missing = copy.Write(Utf8(folder_ / "missing.bin"), target_, true, nullptr);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Message(), platform::ErrorText(ENOENT));
  EXPECT_EQ(TargetNames(), FolderNames{});
}

TEST_F(StagedCopyContractTest, TheCopyHasTheSourcesModificationTimeOrTheOneSetBeforeSync) {
  ASSERT_TRUE(Succeeded(platform::SetModificationTime(source_, kSourceTime)));
  platform::StagedCopy kept;
  Stage(kept, source_);
  ASSERT_TRUE(Succeeded(kept.Place("kept.bin", false)));

  platform::StagedCopy set;
  ASSERT_TRUE(Succeeded(set.Write(source_, target_, true, nullptr)));
  ASSERT_TRUE(Succeeded(set.SetModificationTime(kSetTime)));
  ASSERT_TRUE(Succeeded(set.Sync()));
  ASSERT_TRUE(Succeeded(set.Place("set.bin", false)));

  platform::FileStatus status;
  ASSERT_TRUE(platform::GetFileStatus(target_->PathOf("kept.bin"), status));
  EXPECT_EQ(status.modified, (platform::FileTime{1572690030, 500000000}));
  ASSERT_TRUE(platform::GetFileStatus(target_->PathOf("set.bin"), status));
  EXPECT_EQ(status.modified, (platform::FileTime{981173106, 7000}));
}

}  // namespace
