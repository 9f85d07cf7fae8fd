// The entries of one folder, as the folder walk needs them: symbolic links are reported as
// links, never followed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class FolderEntryKind { File, Folder, Link, Other };

struct FolderEntry {
  std::u16string Name;  // the name alone, without the folder
  FolderEntryKind Kind = FolderEntryKind::Other;
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
};

// Every entry of `folder` but "." and "..", in no particular order. An entry that vanishes
// while the folder is read is left out. On failure returns false with the system's message.
bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries, std::string& error);

}  // namespace platform
