#include "platform/TargetFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileDescriptor_posix.h"
#include "platform/RenameAt_posix.h"

namespace platform {

namespace {

// The parts of "a/b/c".
std::vector<std::string> PartsOf(const std::string& relative) {
  std::vector<std::string> parts;
  for (std::size_t start = 0; start < relative.size();) {
    std::size_t slash = relative.find('/', start);
    if (slash == std::string::npos) slash = relative.size();
    if (slash > start) parts.push_back(relative.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

std::string Joined(const std::string& base, const std::string& part) {
  if (base.empty()) return part;
  return base.back() == '/' ? base + part : base + "/" + part;
}

// The entry `name` of `folder` without following it: a link there gives Link.
TResultOf<FolderWalk> LookAt(int folder, const std::string& name, const std::string& path, struct stat& info) {
  if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return SystemFailure(errno, FolderWalk::Failed);
  if (S_ISLNK(info.st_mode)) return {FolderWalk::Link, path};
  return {};
}

// Opens the folder `name` of `folder` without following a link.
int OpenBelow(int folder, const std::string& name) {
  return ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

std::string LinkedFolderBelow(const std::string& base, const std::string& relative) {
  std::string path = base;
  for (const std::string& part : PartsOf(relative)) {
    path = Joined(path, part);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return {};
    if (S_ISLNK(info.st_mode)) return path;
  }
  return {};
}

TargetFolder::~TargetFolder() { Close(); }

void TargetFolder::Close() {
  if (BaseFolder_ >= 0) ::close(BaseFolder_);
  if (Folder_ >= 0) ::close(Folder_);
  BaseFolder_ = Folder_ = -1;
}

std::string TargetFolder::PathOf(const std::string& name) const { return Joined(Path_, name); }

TResultOf<FolderWalk> TargetFolder::Open(const std::string& base, const std::string& relative,
                                         std::vector<MadeFolder>& made) {
  Close();
  Levels_.clear();
  Base_ = Path_ = base;
  FileDescriptor baseFolder(::open(base.empty() ? "." : base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  FileDescriptor folder(baseFolder.get() < 0 ? -1 : ::fcntl(baseFolder.get(), F_DUPFD_CLOEXEC, 0));
  if (folder.get() < 0) return SystemFailure(errno, FolderWalk::Failed);
  for (const std::string& part : PartsOf(relative)) {
    Path_ = Joined(Path_, part);
    struct stat info {};
    if (::mkdirat(folder.get(), part.c_str(), 0777) == 0) {
      if (::fstatat(folder.get(), part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) info = {};
      made.push_back({Path_, info.st_dev, info.st_ino});
      // The new entry lives in its parent: the parent must reach the disk for it to last.
      ::fsync(folder.get());
    } else if (errno != EEXIST) {
      return SystemFailure(errno, FolderWalk::Failed);
    }
    FileDescriptor next(OpenBelow(folder.get(), part));
    if (next.get() < 0) {
      const int saved = errno;
      // A link gives ELOOP or ENOTDIR, whose messages name no link.
      if (auto seen = LookAt(folder.get(), part, Path_, info); seen.Kind() == FolderWalk::Link) return seen;
      return SystemFailure(saved, FolderWalk::Failed);
    }
    if (::fstat(next.get(), &info) != 0) return SystemFailure(errno, FolderWalk::Failed);
    Levels_.push_back({part, info.st_dev, info.st_ino});
    folder = std::move(next);
  }
  BaseFolder_ = baseFolder.release();
  Folder_ = folder.release();
  return {};
}

TResultOf<FolderWalk> TargetFolder::Recheck() const {
  if (Folder_ < 0) return SystemFailure(EBADF, FolderWalk::Failed);
  FileDescriptor folder(::fcntl(BaseFolder_, F_DUPFD_CLOEXEC, 0));
  std::string path = Base_;
  for (std::size_t index = 0; index < Levels_.size(); ++index) {
    const Level& level = Levels_[index];
    path = Joined(path, level.Name);
    struct stat info {};
    if (auto seen = LookAt(folder.get(), level.Name, path, info); !seen) return seen;
    if (info.st_dev != level.Device || info.st_ino != level.Inode)
      return {FolderWalk::Failed, path + " was moved or replaced during the run"};
    if (index + 1 < Levels_.size()) {
      folder.reset(OpenBelow(folder.get(), level.Name));
      if (folder.get() < 0) return SystemFailure(errno, FolderWalk::Failed);
    }
  }
  return {};
}

TResult TargetFolder::Sync() const { return ::fsync(Folder_) == 0 ? TResult{} : SystemFailure(errno); }

TResultOf<NoReplaceResult> TargetFolder::MoveInto(const std::string& from, const std::string& name) const {
  return NoReplaceOutcome(RenameNoReplaceAt(AT_FDCWD, from.c_str(), Folder_, name.c_str()));
}

bool TargetFolder::Remove(const std::string& name) const { return ::unlinkat(Folder_, name.c_str(), 0) == 0; }

TResultOf<NoReplaceResult> TargetFolder::MoveOut(const std::string& name, const std::string& to) const {
  return NoReplaceOutcome(RenameNoReplaceAt(Folder_, name.c_str(), AT_FDCWD, to.c_str()));
}

void RemoveMadeFolder(const MadeFolder& made) {
  const std::size_t slash = made.Path.rfind('/');
  const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : made.Path.substr(0, slash);
  const std::string name = slash == std::string::npos ? made.Path : made.Path.substr(slash + 1);
  // The parent is opened without following a link: a link put in its place leads elsewhere.
  const FileDescriptor folder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (folder.get() < 0 || name.empty()) return;
  struct stat info {};
  if (::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(info.st_mode)) return;
  if ((made.Device != 0 || made.Inode != 0) && (info.st_dev != made.Device || info.st_ino != made.Inode)) return;
  // Only an empty folder can be removed: anything put into it since keeps it.
  ::unlinkat(folder.get(), name.c_str(), AT_REMOVEDIR);
}

}  // namespace platform
