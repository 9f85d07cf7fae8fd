// A small file system, mounted for one test, whose files hold modification times from
// 1901-12-13T20:45:52Z to 2038-01-19T03:14:07Z only (ext4 with 128-byte inodes): the system
// clamps a time outside that range without an error, as FAT and older file systems do.
#pragma once
#include <filesystem>
#include <string>

#include "support/TempFolder.h"

class NarrowTimeVolume {
 public:
  // Makes a 4 MiB image in a temporary folder and mounts it through a loop device, which
  // takes root; Problem() says why when that could not be done.
  NarrowTimeVolume();
  // Unmounts it; the image goes with its folder.
  ~NarrowTimeVolume();
  NarrowTimeVolume(const NarrowTimeVolume&) = delete;
  NarrowTimeVolume& operator=(const NarrowTimeVolume&) = delete;

  // Empty once mounted: the reason for a test to skip otherwise.
  const std::string& Problem() const { return problem_; }
  // The mounted folder, writable (it holds lost+found).
  std::filesystem::path Root() const { return image_.path() / "mount"; }

 private:
  TempFolder image_;
  bool mounted_ = false;
  std::string problem_;
};

// Windows has no such volume: the tests that use it are POSIX-only.
