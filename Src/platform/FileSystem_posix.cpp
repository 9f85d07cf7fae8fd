#include "platform/FileSystem.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace platform {

static_assert(MaxPathBytes == PATH_MAX);

namespace {

std::string Narrow(const std::u16string& path) { return WideToNarrow(path); }

// Closes a descriptor on every path out of a scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (a late write error shows here).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool CopyContents(int source, int target, const std::atomic<bool>* stop) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    if (stop && stop->load()) {
      errno = EINTR;
      return false;
    }
    ssize_t got = ::read(source, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(target, buffer.data() + done, static_cast<size_t>(got - done));
      if (put < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += put;
    }
  }
}

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

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Replaces `components` by those of the folder they name once its links are followed;
// false, leaving them as they are, when they name no folder.
bool ResolveFolder(std::vector<std::u16string>& components) {
  std::string folder;
  for (const auto& part : components) folder += '/' + WideToNarrow(part);
  if (folder.empty()) folder = "/";
  char resolved[PATH_MAX];
  struct stat info {};
  if (::realpath(folder.c_str(), resolved) == nullptr || ::stat(resolved, &info) != 0 || !S_ISDIR(info.st_mode))
    return false;
  components.clear();
  const std::string text(resolved);
  for (size_t start = 1; start < text.size();) {
    size_t end = text.find('/', start);
    if (end == std::string::npos) end = text.size();
    components.push_back(NarrowToWide(text.substr(start, end - start)));
    start = end + 1;
  }
  return true;
}

// Fills a temporary file in the target's folder through `fill`, then renames it over the
// target: a failure leaves the old target and no partial file.
bool ReplaceThroughTemporary(const std::string& target, const std::function<bool(int fd)>& fill,
                             std::string& error) {
  // A short name of fixed length, so that every target name the system allows can be written.
  std::string temporary = FolderOf(target) + "/.part-XXXXXX";
  FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
  if (out.get() < 0) {
    error = ErrorText(errno);
    return false;
  }
  bool written = fill(out.get()) && ::fsync(out.get()) == 0;
  int saved = errno;
  if (!out.Close() && written) {
    written = false;
    saved = errno;
  }
  if (written && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  if (written) saved = errno;
  ::unlink(temporary.c_str());
  error = ErrorText(saved);
  return false;
}

}  // namespace

bool GetFileStatus(const std::u16string& path, FileStatus& status) { return QueryFileStatus(path, status) == 0; }

int QueryFileStatus(const std::u16string& path, FileStatus& status) {
  struct stat info {};
  if (path.empty()) return ENOENT;
  if (::stat(Narrow(path).c_str(), &info) != 0) return errno;
  status.isDirectory = S_ISDIR(info.st_mode);
  status.isRegularFile = S_ISREG(info.st_mode);
  status.size = info.st_size;
  status.device = info.st_dev;
  status.inode = info.st_ino;
  return 0;
}

std::u16string ExpandFileName(const std::u16string& path) {
  std::u16string full = path;
  if (full.empty() || full[0] != u'/') {
    std::u16string cwd = GetCurrentDir();
    if (cwd.empty() || cwd.back() != u'/') cwd += u'/';
    full = cwd + full;
  }
  std::vector<std::u16string> parts;
  size_t start = 1;
  while (start <= full.size()) {
    size_t end = full.find(u'/', start);
    if (end == std::u16string::npos) end = full.size();
    std::u16string part = full.substr(start, end - start);
    if (part == u"..") {
      // The system takes the parent of the folder the part in front names, behind its links.
      ResolveFolder(parts);
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::u16string result;
  for (const auto& part : parts) result += u'/' + part;
  if (result.empty() || (!full.empty() && full.back() == u'/')) result += u'/';
  return result;
}

std::u16string GetExeFileName() {
  std::vector<char> buffer(4096);
  ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  return NarrowToWide(std::string(buffer.data(), static_cast<size_t>(length)));
}

std::u16string GetCurrentDir() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return NarrowToWide(buffer.data());
}

bool SetCurrentDir(const std::u16string& folder) { return ::chdir(Narrow(folder).c_str()) == 0; }

std::string ErrorText(int errorNumber) {
  char buffer[256];
  // GNU strerror_r returns the message, which may or may not live in the buffer.
  return ::strerror_r(errorNumber, buffer, sizeof buffer);
}

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to, std::string& error) {
  const std::string source = Narrow(from);
  const std::string target = Narrow(to);
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) {
    error = ErrorText(errno);
    return false;
  }
  // The file system cannot rename without replacing: a hard link fails on an existing
  // target just as atomically, and the old name goes once the new one stands.
  if (::link(source.c_str(), target.c_str()) != 0) {
    error = ErrorText(errno);
    return false;
  }
  if (::unlink(source.c_str()) != 0) {
    int saved = errno;
    ::unlink(target.c_str());
    error = ErrorText(saved);
    return false;
  }
  return true;
}

bool CopyFileReplacing(const std::u16string& from, const std::u16string& to, std::string& error,
                       const std::atomic<bool>* stop) {
  const std::string source = Narrow(from);
  FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) {
    error = ErrorText(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(in.get(), &info) != 0) {
    error = ErrorText(errno);
    return false;
  }
  constexpr mode_t kKeptModeBits = 07777 & ~(S_ISUID | S_ISGID);
  return ReplaceThroughTemporary(
      Narrow(to),
      [&](int out) { return CopyContents(in.get(), out, stop) && ::fchmod(out, info.st_mode & kKeptModeBits) == 0; },
      error);
}

bool WriteFileReplacing(const std::u16string& path, std::string_view bytes, std::string& error) {
  return ReplaceThroughTemporary(
      Narrow(path), [&](int out) { return WriteAll(out, bytes) && ::fchmod(out, NewFileMode()) == 0; }, error);
}

}  // namespace platform
