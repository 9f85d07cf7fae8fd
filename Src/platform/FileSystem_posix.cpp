#include "platform/FileSystem.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Text.h"

namespace platform {

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

bool CopyContents(int source, int target) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
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

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool GetFileStatus(const std::u16string& path, FileStatus& status) {
  struct stat info {};
  if (path.empty() || ::stat(Narrow(path).c_str(), &info) != 0) return false;
  status.isDirectory = S_ISDIR(info.st_mode);
  status.isRegularFile = S_ISREG(info.st_mode);
  status.size = info.st_size;
  status.device = info.st_dev;
  status.inode = info.st_ino;
  return true;
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

namespace {

// renameat2 without replacing, or link + unlink where the file system lacks it: a hard link
// fails on an existing target just as atomically. Returns 0 or the error number.
int RenameNoReplace(const std::string& source, const std::string& target) {
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(source.c_str(), target.c_str()) != 0) return errno;
  // The old name goes once the new one stands.
  if (::unlink(source.c_str()) != 0) {
    int saved = errno;
    ::unlink(target.c_str());
    return saved;
  }
  return 0;
}

NoReplaceResult Outcome(int errorNumber, std::string& error) {
  if (errorNumber == 0) return NoReplaceResult::Done;
  error = ErrorText(errorNumber);
  return errorNumber == EEXIST ? NoReplaceResult::TargetExists : NoReplaceResult::Failed;
}

// Writes a copy of `source` into a new temporary file beside `target` and names it in
// `temporary`. On failure nothing is left behind and the error number is returned.
int WriteTemporaryCopy(const std::string& source, const std::string& target, std::string& temporary) {
  FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return errno;
  struct stat info {};
  if (::fstat(in.get(), &info) != 0) return errno;
  temporary = FolderOf(target) + "/." + NameOf(target) + ".part-XXXXXX";
  FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
  if (out.get() < 0) return errno;
  bool written = CopyContents(in.get(), out.get()) && ::fchmod(out.get(), info.st_mode & 07777) == 0 &&
                 ::fsync(out.get()) == 0;
  int saved = errno;
  if (!out.Close() && written) {
    written = false;
    saved = errno;
  }
  if (written) return 0;
  ::unlink(temporary.c_str());
  return saved;
}

}  // namespace

NoReplaceResult MoveNoReplace(const std::u16string& from, const std::u16string& to, std::string& error) {
  return Outcome(RenameNoReplace(Narrow(from), Narrow(to)), error);
}

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to, std::string& error) {
  return MoveNoReplace(from, to, error) == NoReplaceResult::Done;
}

bool CopyFileReplacing(const std::u16string& from, const std::u16string& to, std::string& error) {
  const std::string target = Narrow(to);
  std::string temporary;
  int failure = WriteTemporaryCopy(Narrow(from), target, temporary);
  if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  if (failure == 0) {
    failure = errno;
    ::unlink(temporary.c_str());
  }
  error = ErrorText(failure);
  return false;
}

NoReplaceResult CopyNoReplace(const std::u16string& from, const std::u16string& to, std::string& error) {
  std::string temporary;
  int failure = WriteTemporaryCopy(Narrow(from), Narrow(to), temporary);
  if (failure == 0) {
    failure = RenameNoReplace(temporary, Narrow(to));
    if (failure != 0) ::unlink(temporary.c_str());
  }
  return Outcome(failure, error);
}

}  // namespace platform
