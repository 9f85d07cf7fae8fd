#include "workflow/files/MediaFolderWalk.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "workflow/files/MediaExtensions.h"
#include "workflow/naming/NewFileName.h"
#include "workflow/files/Sidecar.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"

namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || platform::IsPathDelimiter(folder.back())) return folder + name;
  return folder + platform::PathDelimiter + name;
}

std::string LowerCase(std::string text) {
  for (char& character : text)
    if (character >= 'A' && character <= 'Z') character = static_cast<char>(character - 'A' + 'a');
  return text;
}

// A sidecar travels with its media file: it is no file left out.
bool IsSidecarBeside(const std::string& name, const std::set<std::string>& mediaNames) {
  const std::optional<std::string> base = SidecarBase(name);
  if (!base) return false;
  const auto candidate = mediaNames.lower_bound(*base);
  // The media files whose names begin with the base: the base itself, or the base and an extension.
  for (auto it = candidate; it != mediaNames.end() && it->starts_with(*base); ++it)
    if (IsSidecarOf(name, *it)) return true;
  return false;
}

class TWalker {
 public:
  explicit TWalker(TFolderWalk& walk) : Walk_(walk) {}

  // Walks the open `folder`, whose path is `path`. Folders below are opened through it,
  // never through their paths, so that a folder swapped for a link is not followed.
  void Enter(const platform::OpenFolder& folder, const std::string& path) {
    if (!Entered_.insert({folder.Device(), folder.Inode()}).second) return;
    std::vector<platform::FolderEntry> entries;
    if (const auto listed = folder.List(entries); !listed) {
      Walk_.Problems.push_back(path + ": " + listed.Message());
      return;
    }
    std::set<std::string> mediaNames;
    std::vector<std::string> others;
    for (const platform::FolderEntry& entry : entries) {
      const std::string& name = entry.Name;
      if (name.starts_with('.')) continue;
      const std::string entryPath = JoinPath(path, name);
      if (entry.Kind == platform::FolderEntryKind::Folder) {
        platform::OpenFolder below;
        if (const auto opened = below.OpenBelow(folder, entry.Name))
          Enter(below, entryPath);
        else
          Walk_.Problems.push_back(entryPath + ": " + opened.Message());
      } else if (entry.Kind == platform::FolderEntryKind::File) {
        if (HasMediaExtension(name)) {
          Walk_.Files.push_back(entryPath);
          mediaNames.insert(name);
        } else {
          others.push_back(name);
        }
      }
    }
    for (const std::string& name : others)
      if (!IsSidecarBeside(name, mediaNames)) ++Walk_.LeftOut[LowerCase(ExtractExtension(name))];
  }

 private:
  TFolderWalk& Walk_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> Entered_;
};

}  // namespace

std::string LeftOutText(const TFolderWalk& walk) {
  std::vector<std::pair<std::string, std::size_t>> kinds(walk.LeftOut.begin(), walk.LeftOut.end());
  if (kinds.empty()) return {};
  std::stable_sort(kinds.begin(), kinds.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  std::size_t total = 0;
  std::string list;
  for (const auto& [extension, count] : kinds) {
    total += count;
    list += (list.empty() ? "" : ", ") + (extension.empty() ? std::string("no extension") : extension) + ' ' +
            std::to_string(count);
  }
  return "left out " + std::to_string(total) + (total == 1 ? " file that is" : " files that are") +
         " not media: " + list;
}

TFolderWalk WalkMediaFolder(const std::string& folder) {
  TFolderWalk walk;
  platform::OpenFolder top;
  if (const auto opened = top.Open(folder); !opened) {
    platform::FileStatus status;
    const bool isFolder = platform::GetFileStatus(folder, status) && status.isDirectory;
    walk.Problems.push_back(folder + ": " + (isFolder ? opened.Message() : std::string("not a folder")));
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
    if (!platform::GetFileStatus(name, status) || !status.isDirectory) {
      expanded.Files.push_back(name);
      continue;
    }
    TFolderWalk walk = WalkMediaFolder(name);
    expanded.Files.insert(expanded.Files.end(), walk.Files.begin(), walk.Files.end());
    expanded.Problems.insert(expanded.Problems.end(), walk.Problems.begin(), walk.Problems.end());
    for (const auto& [extension, count] : walk.LeftOut) expanded.LeftOut[extension] += count;
  }
  return expanded;
}
