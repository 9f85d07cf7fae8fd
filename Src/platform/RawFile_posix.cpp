#include "platform/RawFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>


namespace platform {

FileHandle OpenRawFile(const std::string& path, FileAccess access) {
  int flags = O_CLOEXEC;
  switch (access) {
    case FileAccess::Read: flags |= O_RDONLY; break;
    case FileAccess::Write: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case FileAccess::ReadWrite: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  int fd = ::open(path.c_str(), flags, 0666);
  return fd < 0 ? InvalidFileHandle : fd;
}

std::int64_t ReadRawFile(FileHandle file, void* buffer, std::int64_t size) {
  if (size < 0) return -1;
  ssize_t got;
  do got = ::read(file, buffer, static_cast<size_t>(size));
  while (got < 0 && errno == EINTR);
  return got;
}

std::int64_t WriteRawFile(FileHandle file, const void* buffer, std::int64_t size) {
  if (size < 0) return -1;
  ssize_t put;
  do put = ::write(file, buffer, static_cast<size_t>(size));
  while (put < 0 && errno == EINTR);
  return put;
}

std::int64_t SeekRawFile(FileHandle file, std::int64_t position, int origin) {
  int whence = origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET;
  if (origin < 0 || origin > 2) return -1;
  return ::lseek(file, position, whence);
}

std::int64_t RawFileSize(FileHandle file) {
  struct stat info {};
  return ::fstat(file, &info) == 0 ? info.st_size : -1;
}

bool CloseRawFile(FileHandle file) { return file >= 0 && ::close(file) == 0; }

}  // namespace platform
