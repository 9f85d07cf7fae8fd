// A file's access and modification times, read and set in nanoseconds since 1970 (UTC).
#pragma once
#include <cstdint>
#include <filesystem>

struct FileTimes {
  std::int64_t accessed = 0;
  std::int64_t modified = 0;
};

// Zero times when the file cannot be read.
FileTimes FileTimesOf(const std::filesystem::path& path);
bool SetFileTimes(const std::filesystem::path& path, const FileTimes& times);

// Sets the modification time to `seconds` since 1970 (UTC) and `nanoseconds` into that
// second (on Windows whole 100 ns steps), leaving the access time. False
// when it cannot be set or the file system keeps another time instead: ext4 keeps 1901 to
// 2446 and moves other times there, NTFS keeps 1601 to 30827, tmpfs any time.
bool SetModifiedSeconds(const std::filesystem::path& path, std::int64_t seconds, long nanoseconds = 0);
// A folder whose file system keeps times far from now, for SetModifiedSeconds: in shared
// memory (tmpfs) where there is one; else empty, for the tests' own folder.
std::filesystem::path FolderForFarTimes();
