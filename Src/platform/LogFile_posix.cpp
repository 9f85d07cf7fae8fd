#include "platform/LogFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>


namespace platform {

namespace {

FileHandle LockForWriting(int fd) {
  if (fd < 0) return InvalidFileHandle;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return InvalidFileHandle;
  }
  return fd;
}

}  // namespace

FileHandle OpenLogFileForAppend(const std::string& path) {
  return LockForWriting(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
}

FileHandle CreateLogFile(const std::string& name) {
  int fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  // Made by someone else between the caller's existence check and now: append, never empty it.
  if (fd < 0 && errno == EEXIST) fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  return LockForWriting(fd);
}

}  // namespace platform
