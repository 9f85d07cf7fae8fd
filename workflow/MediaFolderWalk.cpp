#include "workflow/MediaFolderWalk.h"

#include <algorithm>
#include <set>
#include <utility>

#include "workflow/MediaExtensions.h"
#include "workflow/NewFileName.h"
#include "Text/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/Text.h"

namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || platform::IsPathDelimiter(folder.back())) return folder + name;
  return folder + static_cast<char>(platform::PathDelimiter) + name;
}

class TWalker {
 public:
  explicit TWalker(TFolderWalk& walk) : Walk_(walk) {}

  // Walks the open `folder`, whose path is `path`. Folders below are opened through it,
  // never through their paths, so that a folder swapped for a link is not followed.
  void Enter(const platform::OpenFolder& folder, const std::string& path) {
    if (!Entered_.insert({folder.Device(), folder.Inode()}).second) return;
    std::vector<platform::FolderEntry> entries;
    std::string error;
    if (!folder.List(entries, error)) {
      Walk_.Problems.push_back(path + ": " + error);
      return;
    }
    for (const platform::FolderEntry& entry : entries) {
      const std::string name = platform::WideToNarrow(entry.Name);
      if (name.starts_with('.')) continue;
      const std::string entryPath = JoinPath(path, name);
      if (entry.Kind == platform::FolderEntryKind::Folder) {
        platform::OpenFolder below;
        if (below.OpenBelow(folder, entry.Name, error))
          Enter(below, entryPath);
        else
          Walk_.Problems.push_back(entryPath + ": " + error);
      } else if (entry.Kind == platform::FolderEntryKind::File && HasMediaExtension(name)) {
        Walk_.Files.push_back(entryPath);
      }
    }
  }

 private:
  TFolderWalk& Walk_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> Entered_;
};

}  // namespace

bool HasMediaExtension(std::string_view fileName) {
  const std::string extension = ExtractExtension(fileName);
  const auto known = [&extension](std::string_view candidate) {
    return text::EqualsIgnoringAsciiCase(extension, candidate);
  };
  using namespace media_extensions;
  return std::ranges::any_of(Video, known) || std::ranges::any_of(Audio, known) ||
         std::ranges::any_of(Picture, known) || std::ranges::any_of(More, known);
}

TFolderWalk WalkMediaFolder(const std::string& folder) {
  TFolderWalk walk;
  platform::OpenFolder top;
  std::string error;
  if (!top.Open(platform::NarrowToWide(folder), error)) {
    platform::FileStatus status;
    const bool isFolder = platform::GetFileStatus(platform::NarrowToWide(folder), status) && status.isDirectory;
    walk.Problems.push_back(folder + ": " + (isFolder ? error : std::string("not a folder")));
    return walk;
  }
  TWalker(walk).Enter(top, folder);
  // std::string compares its bytes as unsigned values: byte order, not the locale's.
  std::sort(walk.Files.begin(), walk.Files.end());
  return walk;
}

TFolderWalk ExpandFolders(const std::vector<std::string>& names) {
  TFolderWalk expanded;
  for (const std::string& name : names) {
    platform::FileStatus status;
    if (!platform::GetFileStatus(platform::NarrowToWide(name), status) || !status.isDirectory) {
      expanded.Files.push_back(name);
      continue;
    }
    TFolderWalk walk = WalkMediaFolder(name);
    expanded.Files.insert(expanded.Files.end(), walk.Files.begin(), walk.Files.end());
    expanded.Problems.insert(expanded.Problems.end(), walk.Problems.begin(), walk.Problems.end());
  }
  return expanded;
}
