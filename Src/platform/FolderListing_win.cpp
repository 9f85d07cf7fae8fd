#include "platform/FolderListing.h"

#include <cerrno>
#include <memory>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

using win32::OwnedHandle;
using win32::Wide;

namespace {

struct FindCloser {
  void operator()(HANDLE search) const { ::FindClose(search); }
};
using SearchHandle = std::unique_ptr<void, FindCloser>;

FolderEntryKind KindOf(DWORD attributes) {
  // Symbolic links and junctions are reparse points; the walk never follows them.
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return FolderEntryKind::Link;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FolderEntryKind::Folder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return FolderEntryKind::Other;
  return FolderEntryKind::File;
}

// Opens the entry itself, not a link's target; `sharing` without deletion keeps a folder
// where it is while it is open.
HANDLE OpenEntry(const std::string& path, DWORD sharing) {
  return ::CreateFileW(Wide(path).c_str(), 0, sharing, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// The entry's volume serial and file index.
bool Identify(const std::string& path, FolderEntry& entry) {
  const OwnedHandle file(OpenEntry(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) return false;
  entry.Device = info.dwVolumeSerialNumber;
  entry.Inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return true;
}

std::string WithDelimiter(std::string folder) {
  if (folder.empty() || !IsPathDelimiter(folder.back())) folder += PathDelimiter;
  return folder;
}

}  // namespace

OpenFolder::~OpenFolder() {
  if (Handle_) OwnedHandle(Handle_).Close();
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : Handle_(std::exchange(other.Handle_, nullptr)), Path_(std::move(other.Path_)), Device_(other.Device_),
      Inode_(other.Inode_) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
    if (Handle_) OwnedHandle(Handle_).Close();
    Handle_ = std::exchange(other.Handle_, nullptr);
    Path_ = std::move(other.Path_);
    Device_ = other.Device_;
    Inode_ = other.Inode_;
  }
  return *this;
}

TResult OpenFolder::Take(void* handle, std::string path) {
  OwnedHandle owned(handle);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!owned.valid() || !::GetFileInformationByHandle(owned.get(), &info))
    return SystemFailure(win32::LastErrorNumber());
  // The C runtime has no text for ELOOP; this is the POSIX systems' own.
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
    return {TResultKind::Failed, "Too many levels of symbolic links"};
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return SystemFailure(ENOTDIR);
  *this = OpenFolder();
  Handle_ = owned.Release();
  Path_ = std::move(path);
  Device_ = info.dwVolumeSerialNumber;
  Inode_ = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return {};
}

TResult OpenFolder::Open(const std::string& folder) {
  // Links on the way, the named folder's own included, are followed, as the user named it.
  return Take(::CreateFileW(Wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr),
              folder);
}

TResult OpenFolder::OpenBelow(const OpenFolder& parent, const std::string& name) {
  const std::string path = WithDelimiter(parent.Path_) + name;
  return Take(OpenEntry(path, FILE_SHARE_READ | FILE_SHARE_WRITE), path);
}

TResult OpenFolder::List(std::vector<FolderEntry>& entries) const {
  entries.clear();
  const std::string prefix = WithDelimiter(Path_);
  WIN32_FIND_DATAW found{};
  const HANDLE first = ::FindFirstFileExW(Wide(prefix + "*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                          nullptr, 0);
  if (first == INVALID_HANDLE_VALUE) return SystemFailure(win32::LastErrorNumber());
  const SearchHandle search(first);
  do {
    const std::string name = win32::Narrow(found.cFileName);
    if (name == "." || name == "..") continue;
    FolderEntry entry{name, KindOf(found.dwFileAttributes)};
    // An entry that vanished since the folder was read is left out.
    if (Identify(prefix + name, entry)) entries.push_back(std::move(entry));
  } while (::FindNextFileW(search.get(), &found));
  if (::GetLastError() != ERROR_NO_MORE_FILES) return SystemFailure(win32::LastErrorNumber());
  return {};
}

}  // namespace platform
