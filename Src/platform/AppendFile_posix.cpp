#include "platform/AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"

namespace platform {

namespace {

// Closes the descriptor on every way out.
struct OpenFile {
  explicit OpenFile(int descriptor) : fd(descriptor) {}
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd;
};

// Writes all of `bytes`, resuming after interruptions and short writes.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool EndsWithLineBreak(int fd, off_t size) {
  char last = '\n';
  return size == 0 || (::pread(fd, &last, 1, size - 1) == 1 && last == '\n');
}

}  // namespace

TResult AppendRecord(const std::string& path, std::string_view record) {
  // Open for reading too, to see how the file ends.
  OpenFile file(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600));
  if (file.fd < 0) return SystemFailure(errno);
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return SystemFailure(errno);
  if (!S_ISREG(info.st_mode)) return SystemFailure(EINVAL);
  const bool startLine = !EndsWithLineBreak(file.fd, info.st_size);
  const std::string bytes = (startLine ? "\n" : "") + std::string(record);
  if (!WriteAll(file.fd, bytes)) return SystemFailure(errno);
  return {};
}

TResult CreateFolders(const std::string& path) {
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string part = path.substr(0, end);
    if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return SystemFailure(errno);
    if (end == std::string::npos) break;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return SystemFailure(errno);
  return S_ISDIR(info.st_mode) ? TResult{} : SystemFailure(ENOTDIR);
}

TResult ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
  OpenFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.fd < 0) return SystemFailure(errno);
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return SystemFailure(errno);
  if (!S_ISREG(info.st_mode)) return SystemFailure(EINVAL);
  bytes.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SystemFailure(errno);
    if (got == 0) return {};
    // Checked while reading: the file may grow after its size was looked at.
    if (static_cast<std::size_t>(got) > maxBytes - bytes.size()) return SystemFailure(EFBIG);
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace platform
