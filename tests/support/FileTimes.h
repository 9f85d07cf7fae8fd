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
