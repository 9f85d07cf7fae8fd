#include "platform/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "platform/FileSystem.h"

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

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

OpenFolder::~OpenFolder() {
  if (Descriptor_ >= 0) ::close(Descriptor_);
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : Descriptor_(std::exchange(other.Descriptor_, -1)), Device_(other.Device_), Inode_(other.Inode_) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
    if (Descriptor_ >= 0) ::close(Descriptor_);
    Descriptor_ = std::exchange(other.Descriptor_, -1);
    Device_ = other.Device_;
    Inode_ = other.Inode_;
  }
  return *this;
}

TResult OpenFolder::Take(int descriptor) {
  if (descriptor < 0) return SystemFailure(errno);
  *this = OpenFolder();
  Descriptor_ = descriptor;
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) return SystemFailure(errno);
  Device_ = info.st_dev;
  Inode_ = info.st_ino;
  return {};
}

TResult OpenFolder::Open(const std::string& folder) { return Take(::open(folder.c_str(), kFolderFlags)); }

TResult OpenFolder::OpenBelow(const OpenFolder& parent, const std::string& name) {
  return Take(::openat(parent.Descriptor_, name.c_str(), kFolderFlags | O_NOFOLLOW));
}

TResult OpenFolder::List(std::vector<FolderEntry>& entries) const {
  entries.clear();
  // The listing reads through a descriptor of its own, so that this one stays usable.
  const int copy = ::fcntl(Descriptor_, F_DUPFD_CLOEXEC, 0);
  FolderHandle handle(copy >= 0 ? ::fdopendir(copy) : nullptr);
  if (!handle) {
    const int failure = errno;
    if (copy >= 0) ::close(copy);
    return SystemFailure(failure);
  }
  // A copied descriptor shares the position of the original: start from the first entry.
  ::rewinddir(handle.get());
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(handle.get());
    if (!entry) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (::fstatat(Descriptor_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    entries.push_back(FolderEntry{name, KindOf(info.st_mode), info.st_dev, info.st_ino});
  }
  if (errno != 0) return SystemFailure(errno);
  return {};
}

}  // namespace platform
