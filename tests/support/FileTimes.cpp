#include "support/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr std::int64_t Billion = 1000000000;

std::int64_t Nanoseconds(const timespec& time) { return std::int64_t{time.tv_sec} * Billion + time.tv_nsec; }
timespec Timespec(std::int64_t nanoseconds) {
  return {static_cast<time_t>(nanoseconds / Billion), static_cast<long>(nanoseconds % Billion)};
}

}  // namespace

FileTimes FileTimesOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {Nanoseconds(info.st_atim), Nanoseconds(info.st_mtim)};
}

bool SetFileTimes(const std::filesystem::path& path, const FileTimes& times) {
  const timespec both[2] = {Timespec(times.accessed), Timespec(times.modified)};
  return ::utimensat(AT_FDCWD, path.c_str(), both, 0) == 0;
}

bool SetModifiedSeconds(const std::filesystem::path& path, std::int64_t seconds, long nanoseconds) {
  const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), nanoseconds}};
  struct stat info {};
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 && ::stat(path.c_str(), &info) == 0 &&
         std::int64_t{info.st_mtim.tv_sec} == seconds && info.st_mtim.tv_nsec == nanoseconds;
}

std::filesystem::path FolderForFarTimes() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm/morvane-tests" : "";
}
