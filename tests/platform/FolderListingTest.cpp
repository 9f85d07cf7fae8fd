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
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform::FolderEntryKind;

std::vector<platform::FolderEntry> Listed(const platform::OpenFolder& folder) {
  std::vector<platform::FolderEntry> entries;
  std::string error;
  EXPECT_TRUE(folder.List(entries, error)) << error;
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  return entries;
}

bool SameIdentity(const platform::OpenFolder& folder, const fs::path& path) {
  platform::FileStatus status;
  return platform::GetFileStatus(Utf8(path), status) && folder.Device() == status.device &&
         folder.Inode() == status.inode;
}

TEST(FolderListingTest, EveryEntryComesWithItsKindAndItsNameAsGiven) {
  const TempFolder root;
  root.WriteFile("clip ü 🎥.mp4", "clip");
  fs::create_directory(root / "Fotos 夏 2019");
  platform::OpenFolder folder;
  std::string error;
  ASSERT_TRUE(folder.Open(Utf8(root.path()), error)) << error;
  const std::vector<platform::FolderEntry> entries = Listed(folder);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "Fotos 夏 2019");
  EXPECT_EQ(entries[0].Kind, FolderEntryKind::Folder);
  EXPECT_EQ(entries[1].Name, "clip ü 🎥.mp4");
  EXPECT_EQ(entries[1].Kind, FolderEntryKind::File);
}

// A walk keeps the identities of the folders it entered, to enter none twice: folders
// opened by path or from above have the identity the file status gives, and differ.
TEST(FolderListingTest, AFolderBelowOpensByItsListedNameWithItsOwnIdentity) {
  const TempFolder root;
  fs::create_directory(root / "Fotos 夏 2019");
  root.WriteFile("Fotos 夏 2019/inside ✓.jpg", "jpeg");
  platform::OpenFolder top;
  std::string error;
  ASSERT_TRUE(top.Open(Utf8(root.path()), error)) << error;
  const std::vector<platform::FolderEntry> entries = Listed(top);
  ASSERT_EQ(entries.size(), 1u);
  platform::OpenFolder below;
  ASSERT_TRUE(below.OpenBelow(top, entries[0].Name, error)) << error;
  const std::vector<platform::FolderEntry> inside = Listed(below);
  ASSERT_EQ(inside.size(), 1u);
  EXPECT_EQ(inside[0].Name, "inside ✓.jpg");

  EXPECT_TRUE(SameIdentity(top, root.path()));
  EXPECT_TRUE(SameIdentity(below, root / "Fotos 夏 2019"));
  EXPECT_NE(std::make_pair(top.Device(), top.Inode()), std::make_pair(below.Device(), below.Inode()));
}

TEST(FolderListingTest, WhatIsNoFolderIsNotOpenedAndTheSystemSaysWhy) {
  const TempFolder root;
  root.WriteFile("clip.mp4", "clip");
  platform::OpenFolder top;
  std::string error;
  ASSERT_TRUE(top.Open(Utf8(root.path()), error)) << error;
  platform::OpenFolder other;
  EXPECT_FALSE(other.OpenBelow(top, "clip.mp4", error));
  EXPECT_EQ(error, platform::ErrorText(ENOTDIR));
  EXPECT_FALSE(other.Open(Utf8(root / "missing"), error));
  EXPECT_EQ(error, platform::ErrorText(ENOENT));
}

// A link is reported as a link and never followed, whatever it points to.
TEST(FolderListingTest, ALinkIsListedAsALinkAndNotOpenedBelow) {
  const TempFolder root;
  fs::create_directory(root / "real");
  fs::create_directory_symlink(root / "real", root / "link ✓");
  platform::OpenFolder top;
  std::string error;
  ASSERT_TRUE(top.Open(Utf8(root.path()), error)) << error;
  const std::vector<platform::FolderEntry> entries = Listed(top);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "link ✓");
  EXPECT_EQ(entries[0].Kind, FolderEntryKind::Link);
  platform::OpenFolder below;
  EXPECT_FALSE(below.OpenBelow(top, "link ✓", error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
