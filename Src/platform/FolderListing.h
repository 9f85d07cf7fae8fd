// The entries of one folder, as the folder walk needs them: symbolic links are reported as
// links, never followed. Folders are held open by descriptor, and a folder below is opened
// through the one above it, so that a folder swapped for a link while it is walked cannot
// lead anywhere else.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Base/Result.h"

namespace platform {

enum class FolderEntryKind { File, Folder, Link, Other };

struct FolderEntry {
  std::string Name;  // the name alone, without the folder
  FolderEntryKind Kind = FolderEntryKind::Other;
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
};

class OpenFolder {
 public:
  OpenFolder() = default;
  ~OpenFolder();
  OpenFolder(OpenFolder&& other) noexcept;
  OpenFolder& operator=(OpenFolder&& other) noexcept;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  // Opens the folder a path names; links on the way are followed, as the user named it.
  TResult Open(const std::string& folder);
  // Opens the entry `name` of the open folder `parent`, only when it is a folder itself:
  // a symbolic link, whatever it points to, fails ("Too many levels of symbolic links").
  TResult OpenBelow(const OpenFolder& parent, const std::string& name);

  // Every entry but "." and "..", in no particular order. An entry that vanishes while the
  // folder is read is left out.
  TResult List(std::vector<FolderEntry>& entries) const;

  // The open folder's own device and inode.
  std::uint64_t Device() const { return Device_; }
  std::uint64_t Inode() const { return Inode_; }

 private:
#ifdef _WIN32
  // A folder is held open by handle, shared without deletion so that it can be neither
  // renamed nor replaced while open; entries below are found by its path.
  TResult Take(void* handle, std::string path);

  void* Handle_ = nullptr;
  std::string Path_;
#else
  TResult Take(int descriptor);

  int Descriptor_ = -1;
#endif
  std::uint64_t Device_ = 0;
  std::uint64_t Inode_ = 0;
};

}  // namespace platform
