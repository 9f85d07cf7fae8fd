#include "platform/TargetFolders.h"

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

using win32::Wide;

namespace {

// The parts of "a/b\c".
std::vector<std::string> PartsOf(const std::string& relative) {
  std::vector<std::string> parts;
  for (std::size_t start = 0; start < relative.size();) {
    std::size_t delimiter = relative.find_first_of(PathDelimiters, start);
    if (delimiter == std::string::npos) delimiter = relative.size();
    if (delimiter > start) parts.push_back(relative.substr(start, delimiter - start));
    start = delimiter + 1;
  }
  return parts;
}

std::string Joined(const std::string& base, const std::string& part) {
  if (base.empty()) return part;
  return IsPathDelimiter(static_cast<unsigned char>(base.back())) ? base + part : base + '\\' + part;
}

// A symbolic link or a junction: both lead elsewhere.
bool IsReparsePoint(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

std::string LinkedFolderBelow(const std::string& base, const std::string& relative) {
  std::string path = base;
  for (const std::string& part : PartsOf(relative)) {
    path = Joined(path, part);
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if (IsReparsePoint(attributes)) return path;
  }
  return {};
}

// Windows opens no folder relative to a handle: each level is made by name and then checked
// to be a plain folder before the next is made inside it, and checked again before a name
// is given in the folder.
TResultOf<FolderWalk> TargetFolder::Open(const std::string& base, const std::string& relative,
                                         std::vector<MadeFolder>& made) {
  Levels_.clear();
  Base_ = Path_ = base;
  for (const std::string& part : PartsOf(relative)) {
    const std::string parent = Path_.empty() ? "." : Path_;
    Path_ = Joined(Path_, part);
    FileStatus status;
    if (::CreateDirectoryW(Wide(Path_).c_str(), nullptr)) {
      if (!GetFileStatus(Path_, status)) status = {};
      made.push_back({Path_, status.device, status.inode});
      // The new entry lives in its parent: the parent must reach the disk for it to last.
      int ignored = 0;
      win32::FlushFolder(parent, ignored);
    } else if (::GetLastError() != ERROR_ALREADY_EXISTS) {
      return SystemFailure(win32::LastErrorNumber(), FolderWalk::Failed);
    }
    const DWORD attributes = ::GetFileAttributesW(Wide(Path_).c_str());
    if (IsReparsePoint(attributes)) return {FolderWalk::Link, Path_};
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return SystemFailure(attributes == INVALID_FILE_ATTRIBUTES ? win32::LastErrorNumber() : ENOTDIR,
                           FolderWalk::Failed);
    if (!GetFileStatus(Path_, status)) status = {};
    Levels_.push_back({part, status.device, status.inode});
  }
  return {};
}

TResultOf<FolderWalk> TargetFolder::Recheck() const {
  std::string path = Base_;
  for (const Level& level : Levels_) {
    path = Joined(path, level.Name);
    if (IsReparsePoint(::GetFileAttributesW(Wide(path).c_str()))) return {FolderWalk::Link, path};
    FileStatus status;
    if (!GetFileStatus(path, status) || status.device != level.Device || status.inode != level.Inode)
      return {FolderWalk::Failed, path + " was moved or replaced during the run"};
  }
  return {};
}

TargetFolder::~TargetFolder() { Close(); }

void TargetFolder::Close() {}

std::string TargetFolder::PathOf(const std::string& name) const { return Joined(Path_, name); }

TResult TargetFolder::Sync() const {
  int failure = 0;
  return win32::FlushFolder(Path_.empty() ? "." : Path_, failure) ? TResult{} : SystemFailure(failure);
}

TResultOf<NoReplaceResult> TargetFolder::MoveInto(const std::string& from, const std::string& name) const {
  return MoveNoReplace(from, PathOf(name));
}

bool TargetFolder::Remove(const std::string& name) const { return RemoveFile(PathOf(name)); }

TResultOf<NoReplaceResult> TargetFolder::MoveOut(const std::string& name, const std::string& to) const {
  return MoveNoReplace(PathOf(name), to);
}

void RemoveMadeFolder(const MadeFolder& made) {
  const std::wstring wide = Wide(made.Path);
  // A link in its place, or in its parent's, is left: removing it would not remove an
  // empty folder of the run's.
  if (IsReparsePoint(::GetFileAttributesW(wide.c_str())) ||
      IsReparsePoint(::GetFileAttributesW(Wide(win32::FolderOf(made.Path)).c_str())))
    return;
  FileStatus status;
  if ((made.Device != 0 || made.Inode != 0) &&
      (!GetFileStatus(made.Path, status) || status.device != made.Device || status.inode != made.Inode))
    return;
  ::RemoveDirectoryW(wide.c_str());
}

}  // namespace platform
