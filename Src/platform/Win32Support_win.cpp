#include "platform/Win32Support.h"

#include <cerrno>
#include <limits>
#include <random>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Wide(std::string_view text) {
  const std::u16string wide = NarrowToWide(text);
  return {reinterpret_cast<const wchar_t*>(wide.data()), wide.size()};
}

std::string Narrow(std::wstring_view text) {
  return WideToNarrow({reinterpret_cast<const char16_t*>(text.data()), text.size()});
}

int ErrorNumber(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS: return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_OPERATION_ABORTED: return EINTR;
    case ERROR_INVALID_PARAMETER: return EINVAL;
    case ERROR_NOT_OWNER: return EPERM;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    default: return EIO;
  }
}

int LastErrorNumber() { return ErrorNumber(::GetLastError()); }

std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length ? Narrow({text, length}) : "system error " + std::to_string(code);
  if (text) ::LocalFree(text);
  while (!message.empty() && (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.'))
    message.pop_back();
  return message;
}

std::string FolderOf(const std::string& path) {
  const std::size_t delimiter = path.find_last_of(PathDelimiters);
  if (delimiter == std::string::npos) return ".";
  return delimiter == 0 ? path.substr(0, 1) : path.substr(0, delimiter);
}

OwnedHandle CreateTemporaryIn(const std::string& folder, std::string& name, int& error) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string tail = std::to_string(random() % 1000000u);
    name = folder + "\\.part-" + std::string(6 - tail.size(), '0') + tail;
    OwnedHandle file(::CreateFileW(Wide(name).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return file;
    error = LastErrorNumber();
    if (error != EEXIST) return OwnedHandle();
  }
  return OwnedHandle();
}

namespace {

bool CopyContents(HANDLE source, HANDLE target, const std::atomic<bool>* stop, int& error) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    if (stop && stop->load()) {
      error = EINTR;
      return false;
    }
    DWORD got = 0;
    if (!::ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      error = LastErrorNumber();
      return false;
    }
    if (got == 0) return true;
    for (DWORD done = 0; done < got;) {
      DWORD put = 0;
      if (!::WriteFile(target, buffer.data() + done, got - done, &put, nullptr)) {
        error = LastErrorNumber();
        return false;
      }
      done += put;
    }
  }
}

}  // namespace

bool CopyContentsAndTimes(HANDLE source, HANDLE target, const std::atomic<bool>* stop, int& error) {
  // The source's times are taken before the reading, which may move its access time, and
  // given last: every write would set the modification time anew.
  FILETIME accessed{}, modified{};
  error = 0;
  const bool copied = ::GetFileTime(source, nullptr, &accessed, &modified) &&
                      CopyContents(source, target, stop, error) &&
                      ::SetFileTime(target, nullptr, &accessed, &modified);
  if (!copied && error == 0) error = LastErrorNumber();
  return copied;
}

bool FlushFolder(const std::string& folder, int& error) {
  // A folder opens only with the backup flag; a flush needs write access to it.
  const OwnedHandle handle(::CreateFileW(Wide(folder).c_str(), GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (handle.valid() && ::FlushFileBuffers(handle.get())) return true;
  error = LastErrorNumber();
  return false;
}

namespace {
// 1970-01-01 in file-time steps.
constexpr std::int64_t UnixEpochInFileTime = 116444736000000000;
}  // namespace

FILETIME FileTimeOfMicroseconds(std::int64_t microseconds) {
  const std::uint64_t steps = static_cast<std::uint64_t>(UnixEpochInFileTime + microseconds * 10);
  return FILETIME{static_cast<DWORD>(steps & 0xFFFFFFFFu), static_cast<DWORD>(steps >> 32)};
}

FileTime UnixTimeOfFileTime(const FILETIME& time) {
  constexpr std::int64_t StepsPerSecond = 10000000;
  const std::int64_t steps =
      static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) - UnixEpochInFileTime;
  // Rounded down, so that the fraction of a time before 1970 counts forward from its second.
  std::int64_t seconds = steps / StepsPerSecond, rest = steps % StepsPerSecond;
  if (rest < 0) {
    seconds -= 1;
    rest += StepsPerSecond;
  }
  return {seconds, static_cast<std::int32_t>(rest * 100)};
}

}  // namespace platform::win32
