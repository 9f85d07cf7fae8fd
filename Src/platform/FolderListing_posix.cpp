#include "platform/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace platform {

namespace {

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};
using FolderHandle = std::unique_ptr<DIR, FolderCloser>;

FolderEntryKind KindOf(mode_t mode) {
  if (S_ISLNK(mode)) return FolderEntryKind::Link;
  if (S_ISDIR(mode)) return FolderEntryKind::Folder;
  if (S_ISREG(mode)) return FolderEntryKind::File;
  return FolderEntryKind::Other;
}

}  // namespace

bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries, std::string& error) {
  entries.clear();
  const FolderHandle handle(::opendir(WideToNarrow(folder).c_str()));
  if (!handle) {
    error = ErrorText(errno);
    return false;
  }
  const int descriptor = ::dirfd(handle.get());
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(handle.get());
    if (!entry) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (::fstatat(descriptor, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    entries.push_back(FolderEntry{NarrowToWide(name), KindOf(info.st_mode), info.st_dev, info.st_ino});
  }
  if (errno != 0) {
    error = ErrorText(errno);
    return false;
  }
  return true;
}

}  // namespace platform
