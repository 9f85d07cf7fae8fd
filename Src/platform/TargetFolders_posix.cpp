#include "platform/TargetFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileDescriptor_posix.h"
#include "platform/FileSystem.h"

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

bool MakeFoldersBelow(const std::string& base, const std::string& relative, std::vector<std::string>& made,
                      std::string& error) {
  FileDescriptor folder(::open(base.empty() ? "." : base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) {
    error = ErrorText(errno);
    return false;
  }
  std::string path = base;
  for (const std::string& part : PartsOf(relative)) {
    path = Joined(path, part);
    if (::mkdirat(folder.get(), part.c_str(), 0777) == 0) {
      made.push_back(path);
      // The new entry lives in its parent: the parent must reach the disk for it to last.
      ::fsync(folder.get());
    } else if (errno != EEXIST) {
      error = ErrorText(errno);
      return false;
    }
    const int next = ::openat(folder.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) {
      // O_NOFOLLOW on a link gives ELOOP, whose message names no link.
      error = errno == ELOOP ? path + " is a symbolic link" : ErrorText(errno);
      return false;
    }
    folder.reset(next);
  }
  return true;
}

void RemoveFolderIfEmpty(const std::string& folder) { ::rmdir(folder.c_str()); }

}  // namespace platform
