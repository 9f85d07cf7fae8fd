// What the command-line tests share: a fresh folder with an "out" folder for copies,
// snapshots of a folder's files, and clips that carry a given creation time.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "support/MediaFactory.h"
#include "support/TempFolder.h"

// Every file and folder below `root`: relative path -> content, "<dir>" for folders.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    entries[std::filesystem::relative(entry.path(), root).generic_string()] =
        entry.is_directory() ? "<dir>" : ReadWholeFile(entry.path());
  return entries;
}

// A short FLAC clip under any name; clips with different titles differ in their bytes.
inline std::filesystem::path MakeFlac(const std::filesystem::path& output, const std::string& creationTime,
                                      const std::string& title = "") {
  MediaSpec spec = AudioOnly();
  spec.metadata = {"creation_time=" + creationTime};
  if (!title.empty()) spec.metadata.push_back("title=" + title);
  spec.extra = {"-f", "flac"};
  return MakeMedia(output, spec);
}

// Lengthens `file` to `size` bytes of data, not of a hole: copies skip holes, so that only
// data makes a copy take time.
inline void FillWithData(const std::filesystem::path& file, std::uintmax_t size) {
  std::ofstream stream(file, std::ios::binary | std::ios::app);
  const std::string block(1 << 20, 'x');
  for (std::uintmax_t length = std::filesystem::file_size(file); length < size;) {
    const std::uintmax_t piece = std::min<std::uintmax_t>(block.size(), size - length);
    stream.write(block.data(), static_cast<std::streamsize>(piece));
    length += piece;
  }
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(out); }
  std::string PathOf(const std::string& name) const { return (folder / name).string(); }
  TempFolder folder;
  std::filesystem::path out = folder / "out";
};
