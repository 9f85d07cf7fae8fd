#include "platform/AppendFile.h"

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

using win32::OwnedHandle;
using win32::Wide;

namespace {

TResult LastFailure() { return SystemFailure(win32::LastErrorNumber()); }

bool EndsWithLineBreak(HANDLE file, LARGE_INTEGER size) {
  if (size.QuadPart == 0) return true;
  OVERLAPPED at{};
  const LONGLONG last = size.QuadPart - 1;
  at.Offset = static_cast<DWORD>(last);
  at.OffsetHigh = static_cast<DWORD>(last >> 32);
  char byte = 0;
  DWORD got = 0;
  return ::ReadFile(file, &byte, 1, &got, &at) && got == 1 && byte == '\n';
}

// A disk file only: never waits on a pipe or a device.
TResult IsDiskFile(HANDLE file) { return ::GetFileType(file) == FILE_TYPE_DISK ? TResult{} : SystemFailure(EINVAL); }

}  // namespace

TResult AppendRecord(const std::string& path, std::string_view record) {
  // Append-only access puts every write at the end, whoever else writes; read access shows
  // how the file ends.
  OwnedHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
  if (!file.valid()) return LastFailure();
  if (TResult disk = IsDiskFile(file.get()); !disk) return disk;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return LastFailure();
  std::string bytes = EndsWithLineBreak(file.get(), size) ? "" : "\n";
  bytes += record;
  DWORD put = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr)) return LastFailure();
  return put == bytes.size() ? TResult{} : SystemFailure(EIO);
}

TResult CreateFolders(const std::string& folder) {
  // Every prefix that ends before a delimiter, then the whole: drive and share names are
  // refused by the system and passed over, as they exist whenever their folders can.
  for (std::size_t end = 0; end != std::string::npos;) {
    end = folder.find_first_of(PathDelimiters, end + 1);
    const std::string part = folder.substr(0, end);
    if (part.empty() || part.back() == ':' || IsPathDelimiter(part.back())) continue;
    if (!::CreateDirectoryW(Wide(part).c_str(), nullptr)) {
      const DWORD code = ::GetLastError();
      if (code != ERROR_ALREADY_EXISTS && code != ERROR_ACCESS_DENIED && code != ERROR_INVALID_NAME &&
          code != ERROR_BAD_NETPATH && code != ERROR_BAD_NET_NAME && end == std::string::npos)
        return SystemFailure(win32::ErrorNumber(code));
    }
  }
  FileStatus status;
  const int problem = QueryFileStatus(folder, status);
  if (problem != 0) return SystemFailure(problem);
  return status.isDirectory ? TResult{} : SystemFailure(ENOTDIR);
}

TResult ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
  OwnedHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastFailure();
  if (TResult disk = IsDiskFile(file.get()); !disk) return disk;
  bytes.clear();
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return LastFailure();
    if (got == 0) return {};
    // Checked while reading: the file may grow after its size was looked at.
    if (got > maxBytes - bytes.size()) return SystemFailure(EFBIG);
    bytes.append(buffer, got);
  }
}

}  // namespace platform
