#include "platform/FolderListing.h"

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

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

// The entry itself (not a link's target): its volume serial and file index.
bool Identify(const std::u16string& path, FolderEntry& entry) {
  win32::OwnedHandle file(::CreateFileW(Wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) return false;
  entry.Device = info.dwVolumeSerialNumber;
  entry.Inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace

bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries, std::string& error) {
  entries.clear();
  std::u16string prefix = folder;
  if (prefix.empty() || !IsPathDelimiter(prefix.back())) prefix += PathDelimiter;
  WIN32_FIND_DATAW found{};
  const SearchHandle search(
      ::FindFirstFileExW(Wide(prefix + u"*"), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
  if (search.get() == INVALID_HANDLE_VALUE) {
    // FindFirstFileExW on a file names no folder.
    FileStatus status;
    const DWORD code = ::GetLastError();
    error = ErrorText(GetFileStatus(folder, status) && !status.isDirectory ? ENOTDIR : win32::ErrorNumber(code));
    return false;
  }
  do {
    const std::u16string name = win32::FromWide(found.cFileName);
    if (name == u"." || name == u"..") continue;
    FolderEntry entry{name, KindOf(found.dwFileAttributes)};
    // An entry that vanished since the folder was read is left out.
    if (Identify(prefix + name, entry)) entries.push_back(std::move(entry));
  } while (::FindNextFileW(search.get(), &found));
  if (::GetLastError() != ERROR_NO_MORE_FILES) {
    error = ErrorText(win32::LastErrorNumber());
    return false;
  }
  return true;
}

}  // namespace platform
