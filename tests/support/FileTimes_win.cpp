#include "support/FileTimes.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// 1970-01-01 in the system's 100 ns steps since 1601.
constexpr std::int64_t UnixEpochInSteps = 116444736000000000;

std::int64_t Nanoseconds(const FILETIME& time) {
  const auto steps = static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
  return (steps - UnixEpochInSteps) * 100;
}
FILETIME FileTime(std::int64_t nanoseconds) {
  const auto steps = static_cast<std::uint64_t>(nanoseconds / 100 + UnixEpochInSteps);
  return {static_cast<DWORD>(steps & 0xFFFFFFFFu), static_cast<DWORD>(steps >> 32)};
}

HANDLE Open(const std::filesystem::path& path, DWORD access) {
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

FileTimes FileTimesOf(const std::filesystem::path& path) {
  const HANDLE file = Open(path, FILE_READ_ATTRIBUTES);
  if (file == INVALID_HANDLE_VALUE) return {};
  FILETIME accessed{}, modified{};
  const bool read = ::GetFileTime(file, nullptr, &accessed, &modified);
  ::CloseHandle(file);
  return read ? FileTimes{Nanoseconds(accessed), Nanoseconds(modified)} : FileTimes{};
}

bool SetFileTimes(const std::filesystem::path& path, const FileTimes& times) {
  const HANDLE file = Open(path, FILE_WRITE_ATTRIBUTES);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME accessed = FileTime(times.accessed), modified = FileTime(times.modified);
  const bool set = ::SetFileTime(file, nullptr, &accessed, &modified);
  ::CloseHandle(file);
  return set;
}

bool SetModifiedSeconds(const std::filesystem::path& path, std::int64_t seconds, long nanoseconds) {
  // The system's times run from 1601 to the year 30827.
  constexpr std::int64_t First = -11644473600, Last = 910692730085;
  if (seconds < First || seconds > Last) return false;
  const auto steps = static_cast<std::uint64_t>(UnixEpochInSteps + seconds * 10000000 + nanoseconds / 100);
  const FILETIME modified{static_cast<DWORD>(steps & 0xFFFFFFFFu), static_cast<DWORD>(steps >> 32)};
  const HANDLE file = Open(path, FILE_WRITE_ATTRIBUTES);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool set = ::SetFileTime(file, nullptr, nullptr, &modified);
  ::CloseHandle(file);
  return set;
}

std::filesystem::path FolderForFarTimes() { return {}; }
