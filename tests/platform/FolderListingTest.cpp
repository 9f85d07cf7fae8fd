// The entries of one folder (FolderListing.h): every entry but "." and ".." with its kind,
// names in UTF-8 as they were given, folders below opened through the one above, and an
// identity per folder by which a walk knows a folder it has entered already.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "support/Succeeded.h"
#include "support/TempFolder.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;
using platform::FolderEntryKind;

std::vector<platform::FolderEntry> Listed(const platform::OpenFolder& folder) {
  std::vector<platform::FolderEntry> entries;
  EXPECT_TRUE(Succeeded(folder.List(entries)));
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  return entries;
}

bool SameIdentity(const platform::OpenFolder& folder, const fs::path& path) {
  platform::FileStatus status;
  return platform::GetFileStatus(Utf8(path), status) && folder.Device() == status.device &&
         folder.Inode() == status.inode;
}

class FolderListingTest : public ::testing::Test {
 protected:
  // Opens the temporary folder, once the test has made its entries.
  void OpenTop() {
    ASSERT_TRUE(Succeeded(top_.Open(Utf8(folder_.path()))));
  }

  const TempFolder folder_;
  platform::OpenFolder top_;
};

TEST_F(FolderListingTest, EveryEntryComesWithItsKindAndItsNameAsGiven) {
  folder_.WriteFile("clip ü 🎥.mp4", "clip");
  fs::create_directory(folder_ / "Fotos 夏 2019");
  OpenTop();
  const std::vector<platform::FolderEntry> entries = Listed(top_);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "Fotos 夏 2019");
  EXPECT_EQ(entries[0].Kind, FolderEntryKind::Folder);
  EXPECT_EQ(entries[1].Name, "clip ü 🎥.mp4");
  EXPECT_EQ(entries[1].Kind, FolderEntryKind::File);
}

// A walk keeps the identities of the folders it entered, to enter none twice: folders
// opened by path or from above have the identity the file status gives, and differ.
TEST_F(FolderListingTest, AFolderBelowOpensByItsListedNameWithItsOwnIdentity) {
  fs::create_directory(folder_ / "Fotos 夏 2019");
  folder_.WriteFile("Fotos 夏 2019/inside ✓.jpg", "jpeg");
  OpenTop();
  const std::vector<platform::FolderEntry> entries = Listed(top_);
  ASSERT_EQ(entries.size(), 1u);
  platform::OpenFolder below;
  ASSERT_TRUE(Succeeded(below.OpenBelow(top_, entries[0].Name)));
  const std::vector<platform::FolderEntry> inside = Listed(below);
  ASSERT_EQ(inside.size(), 1u);
  EXPECT_EQ(inside[0].Name, "inside ✓.jpg");

  EXPECT_TRUE(SameIdentity(top_, folder_.path()));
  EXPECT_TRUE(SameIdentity(below, folder_ / "Fotos 夏 2019"));
  EXPECT_NE(std::make_pair(top_.Device(), top_.Inode()), std::make_pair(below.Device(), below.Inode()));
}

TEST_F(FolderListingTest, WhatIsNoFolderIsNotOpenedAndTheSystemSaysWhy) {
  folder_.WriteFile("clip.mp4", "clip");
  OpenTop();
  platform::OpenFolder other;
  EXPECT_EQ(other.OpenBelow(top_, "clip.mp4").Message(), platform::ErrorText(ENOTDIR));
  EXPECT_EQ(other.Open(Utf8(folder_ / "missing")).Message(), platform::ErrorText(ENOENT));
}

// A link is reported as a link and never followed, whatever it points to.
TEST_F(FolderListingTest, ALinkIsListedAsALinkAndNotOpenedBelow) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  fs::create_directory(folder_ / "real");
  fs::create_directory_symlink(folder_ / "real", folder_ / "link ✓");
  OpenTop();
  const std::vector<platform::FolderEntry> entries = Listed(top_);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "link ✓");
  EXPECT_EQ(entries[0].Kind, FolderEntryKind::Link);
  platform::OpenFolder below;
  const TResult opened = below.OpenBelow(top_, "link ✓");
  EXPECT_FALSE(opened);
  EXPECT_FALSE(opened.Message().empty());
}

}  // namespace
