#include "platform/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace platform {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// The mode a newly created file gets: readable and writable as the process's mask allows.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool WriteFileReplacing(const std::u16string& path, std::string_view bytes, std::string& error) {
  const std::string target = WideToNarrow(path);
  const auto slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = folder + "/." + name + ".part-XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    error = ErrorText(errno);
    return false;
  }
  bool written = WriteAll(fd, bytes) && ::fchmod(fd, NewFileMode()) == 0 && ::fsync(fd) == 0;
  int saved = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    saved = errno;
  }
  if (written && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  if (written) saved = errno;
  ::unlink(temporary.c_str());
  error = ErrorText(saved);
  return false;
}

}  // namespace platform
