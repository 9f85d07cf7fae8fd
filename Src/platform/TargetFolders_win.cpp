#include "platform/TargetFolders.h"

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Text.h"
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
    const DWORD attributes = ::GetFileAttributesW(Wide(NarrowToWide(path)));
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if (IsReparsePoint(attributes)) return path;
  }
  return {};
}

// Windows opens no folder relative to a handle: each level is made by name and then checked
// to be a plain folder before the next is made inside it.
bool MakeFoldersBelow(const std::string& base, const std::string& relative, std::vector<std::string>& made,
                      std::string& error) {
  std::string path = base;
  for (const std::string& part : PartsOf(relative)) {
    const std::string parent = path.empty() ? "." : path;
    path = Joined(path, part);
    const std::u16string wide = NarrowToWide(path);
    if (::CreateDirectoryW(Wide(wide), nullptr)) {
      made.push_back(path);
      // The new entry lives in its parent: the parent must reach the disk for it to last.
      int ignored = 0;
      win32::FlushFolder(NarrowToWide(parent), ignored);
    } else if (::GetLastError() != ERROR_ALREADY_EXISTS) {
      error = ErrorText(win32::LastErrorNumber());
      return false;
    }
    const DWORD attributes = ::GetFileAttributesW(Wide(wide));
    if (IsReparsePoint(attributes)) {
      error = path + " is a symbolic link";
      return false;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      error = ErrorText(attributes == INVALID_FILE_ATTRIBUTES ? win32::LastErrorNumber() : ENOTDIR);
      return false;
    }
  }
  return true;
}

void RemoveFolderIfEmpty(const std::string& folder) {
  // A link in its place is left: removing it would not remove an empty folder.
  if (!IsReparsePoint(::GetFileAttributesW(Wide(NarrowToWide(folder))))) ::RemoveDirectoryW(Wide(NarrowToWide(folder)));
}

}  // namespace platform
