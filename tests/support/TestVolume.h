// A small file system of a given kind, mounted for one test from an image in a temporary
// folder: the file systems of cards and external drives, and one that holds only a narrow
// range of modification times.
#pragma once
#include <filesystem>
#include <string>

#include "support/TempFolder.h"

enum class TVolumeKind {
  Ext4,
  // ext4 with 128-byte inodes: modification times from 1901-12-13T20:45:52Z to
  // 2038-01-19T03:14:07Z only, clamped without an error as FAT and older systems do.
  NarrowTimeExt4,
  Vfat,   // the kernel's driver, or the FUSE one where the kernel has none
  Exfat,  // likewise
};

class TestVolume {
 public:
  // Makes a 64 MiB image (sparse) and mounts it, which takes root; Problem() says why when
  // that could not be done.
  explicit TestVolume(TVolumeKind kind);
  // Unmounts it; the image goes with its folder.
  ~TestVolume();
  TestVolume(const TestVolume&) = delete;
  TestVolume& operator=(const TestVolume&) = delete;

  // Empty once mounted: the reason for a test to skip otherwise.
  const std::string& Problem() const { return problem_; }
  // The mounted folder, writable.
  std::filesystem::path Root() const { return image_.path() / "mount"; }
  // How it is mounted, for a test's messages: "exfat (FUSE)", ...
  const std::string& Description() const { return description_; }

 private:
  bool Mount(TVolumeKind kind, const std::string& image);

  TempFolder image_;
  bool mounted_ = false;
  std::string loopDevice_;  // attached for a FUSE driver that takes a block device
  std::string problem_;
  std::string description_;
};

// Windows has no such volume: the tests that use it are POSIX-only.
