#include "workflow/MediaFolderWalk.h"

#include <algorithm>
#include <set>
#include <utility>

#include "workflow/NewFileName.h"
#include "Text/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/Text.h"

namespace {

constexpr std::string_view MediaExtensions[] = {
    ".3GP",  ".ASF", ".AVI", ".AVM", ".AVS", ".DAT",  ".FLV",  ".MKV", ".MOV",  ".MP4",  ".MPEG", ".MPG",
    ".NSV",  ".OGM", ".RM",  ".RMVB", ".TP", ".TS",   ".VOB",  ".WMV", ".AAC",  ".AC3",  ".APE",  ".DTS",
    ".FLAC", ".M4A", ".MKA", ".MP2", ".MP3", ".MPA",  ".MPC",  ".OFR", ".OGG",  ".RA",   ".TTA",  ".WAV",
    ".WMA",  ".BMP", ".GIF", ".JPEG", ".JPG", ".PNG", ".MTS",  ".M2TS", ".3G2", ".WEBM", ".HEIC",
    ".HEIF"};

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || platform::IsPathDelimiter(folder.back())) return folder + name;
  return folder + static_cast<char>(platform::PathDelimiter) + name;
}

class TWalker {
 public:
  explicit TWalker(TFolderWalk& walk) : Walk_(walk) {}

  void Enter(const std::string& folder, std::uint64_t device, std::uint64_t inode) {
    if (!Entered_.insert({device, inode}).second) return;
    std::vector<platform::FolderEntry> entries;
    std::string error;
    if (!platform::ListFolder(platform::NarrowToWide(folder), entries, error)) {
      Walk_.Problems.push_back(folder + ": " + error);
      return;
    }
    for (const platform::FolderEntry& entry : entries) {
      const std::string name = platform::WideToNarrow(entry.Name);
      if (name.starts_with('.')) continue;
      const std::string path = JoinPath(folder, name);
      if (entry.Kind == platform::FolderEntryKind::Folder)
        Enter(path, entry.Device, entry.Inode);
      else if (entry.Kind == platform::FolderEntryKind::File && HasMediaExtension(name))
        Walk_.Files.push_back(path);
    }
  }

 private:
  TFolderWalk& Walk_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> Entered_;
};

}  // namespace

bool HasMediaExtension(std::string_view fileName) {
  const std::string extension = ExtractExtension(fileName);
  return std::any_of(std::begin(MediaExtensions), std::end(MediaExtensions),
                     [&extension](std::string_view known) { return text::EqualsIgnoringAsciiCase(extension, known); });
}

TFolderWalk WalkMediaFolder(const std::string& folder) {
  TFolderWalk walk;
  platform::FileStatus status;
  if (!platform::GetFileStatus(platform::NarrowToWide(folder), status) || !status.isDirectory) {
    walk.Problems.push_back(folder + ": not a folder");
    return walk;
  }
  TWalker(walk).Enter(folder, status.device, status.inode);
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
