#include "platform/AppendFile.h"

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

using win32::OwnedHandle;
using win32::Wide;

namespace {

bool Fail(std::string& error, int errorNumber) {
  error = ErrorText(errorNumber);
  return false;
}

bool FailLast(std::string& error) { return Fail(error, win32::LastErrorNumber()); }

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
bool IsDiskFile(HANDLE file, std::string& error) {
  return ::GetFileType(file) == FILE_TYPE_DISK || Fail(error, EINVAL);
}

}  // namespace

bool AppendRecord(const std::string& path, std::string_view record, std::string& error) {
  // Append-only access puts every write at the end, whoever else writes; read access shows
  // how the file ends.
  OwnedHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
  if (!file.valid()) return FailLast(error);
  if (!IsDiskFile(file.get(), error)) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return FailLast(error);
  std::string bytes = EndsWithLineBreak(file.get(), size) ? "" : "\n";
  bytes += record;
  DWORD put = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr)) return FailLast(error);
  return put == bytes.size() || Fail(error, EIO);
}

bool CreateFolders(const std::string& folder, std::string& error) {
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
        return Fail(error, win32::ErrorNumber(code));
    }
  }
  FileStatus status;
  const int problem = QueryFileStatus(folder, status);
  if (problem != 0) return Fail(error, problem);
  return status.isDirectory || Fail(error, ENOTDIR);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error, std::size_t maxBytes) {
  OwnedHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return FailLast(error);
  if (!IsDiskFile(file.get(), error)) return false;
  bytes.clear();
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return FailLast(error);
    if (got == 0) return true;
    // Checked while reading: the file may grow after its size was looked at.
    if (got > maxBytes - bytes.size()) return Fail(error, EFBIG);
    bytes.append(buffer, got);
  }
}

}  // namespace platform
