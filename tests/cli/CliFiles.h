// What the command-line tests share: a fresh folder with an "out" folder for copies,
// snapshots of a folder's files, and clips that carry a given creation time.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
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

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(out); }
  std::string PathOf(const std::string& name) const { return (folder / name).string(); }
  TempFolder folder;
  std::filesystem::path out = folder / "out";
};
