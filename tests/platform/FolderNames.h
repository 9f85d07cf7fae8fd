// The names in a folder, as UTF-8 text, for the platform layer's contract tests.
#pragma once
#include <filesystem>
#include <set>
#include <string>

#include "support/TempFolder.h"

using FolderNames = std::set<std::string>;

inline FolderNames NamesIn(const std::filesystem::path& folder) {
  FolderNames names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(Utf8(entry.path().filename()));
  return names;
}
