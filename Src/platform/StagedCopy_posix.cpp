#include "platform/StagedCopy.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace platform {

namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool Stopped(const std::atomic<bool>* stop) {
  if (!stop || !stop->load()) return false;
  errno = EINTR;
  return true;
}

bool ReadWriteCopy(int source, int target, const std::atomic<bool>* stop) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    if (Stopped(stop)) return false;
    const ssize_t got = ::read(source, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(target, buffer.data() + done, static_cast<size_t>(got - done));
      if (put < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += put;
    }
  }
}

// The fastest way the two files allow: a clone shares the blocks (copy on write), a copy
// inside the kernel moves no data through this process; read and write work everywhere.
bool CopyContents(int source, int target, const std::atomic<bool>* stop) {
  if (Stopped(stop)) return false;
  if (::ioctl(target, FICLONE, source) == 0) return true;
  // Pieces of 64 MiB, so that a stop is seen between them.
  constexpr size_t Piece = std::size_t{64} << 20;
  bool first = true;
  for (;;) {
    if (Stopped(stop)) return false;
    const ssize_t moved = ::copy_file_range(source, nullptr, target, nullptr, Piece, 0);
    if (moved > 0) {
      first = false;
      continue;
    }
    if (moved == 0) {
      // A file system that reports no data for a file with data (some virtual ones)
      // gets the plain copy; offsets are where the pieces left them.
      if (!first) return true;
      struct stat info {};
      if (::fstat(source, &info) != 0) return false;
      if (info.st_size == 0) return true;
    } else if (errno == EINTR) {
      continue;
    } else if (!first || (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP &&
                          errno != EBADF && errno != EPERM)) {
      return false;
    }
    return ReadWriteCopy(source, target, stop);
  }
}

}  // namespace

StagedCopy::~StagedCopy() { Discard(); }

StagedCopy::StagedCopy(StagedCopy&& other) noexcept
    : Path_(std::exchange(other.Path_, {})), Fd_(std::exchange(other.Fd_, -1)), Size_(other.Size_) {}

StagedCopy& StagedCopy::operator=(StagedCopy&& other) noexcept {
  if (this != &other) {
    Discard();
    Path_ = std::exchange(other.Path_, {});
    Fd_ = std::exchange(other.Fd_, -1);
    Size_ = other.Size_;
  }
  return *this;
}

void StagedCopy::Discard() {
  if (Fd_ >= 0) ::close(Fd_);
  Fd_ = -1;
  if (!Path_.empty()) ::unlink(Path_.c_str());
  Path_.clear();
}

bool StagedCopy::Write(const std::u16string& from, const std::u16string& to, const std::atomic<bool>* stop,
                       std::string& error) {
  Discard();
  const int source = ::open(WideToNarrow(from).c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) {
    error = ErrorText(errno);
    return false;
  }
  struct stat info {};
  // A short name of fixed length, so that every target name the system allows can be written.
  std::string temporary = FolderOf(WideToNarrow(to)) + "/.part-XXXXXX";
  bool written = ::fstat(source, &info) == 0;
  if (written) {
    Fd_ = ::mkostemp(temporary.data(), O_CLOEXEC);
    written = Fd_ >= 0;
  }
  if (written) {
    Path_ = temporary;
    constexpr mode_t KeptModeBits = 07777 & ~(S_ISUID | S_ISGID);
    // The times go last: every write before would set the modification time anew.
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    written = CopyContents(source, Fd_, stop) && ::fchmod(Fd_, info.st_mode & KeptModeBits) == 0 &&
              ::futimens(Fd_, times) == 0;
  }
  const int saved = errno;
  ::close(source);
  if (!written) {
    error = ErrorText(saved);
    Discard();
    return false;
  }
  Size_ = info.st_size;
  return true;
}

bool StagedCopy::SetModificationTime(std::int64_t microseconds, std::string& error) {
  return platform::SetModificationTime(NarrowToWide(Path_), microseconds, error);
}

bool StagedCopy::Sync(std::string& error) {
  if (Fd_ < 0) return true;
  bool synced = ::fsync(Fd_) == 0;
  int saved = errno;
  // A late write error shows at the close.
  if (::close(Fd_) != 0 && synced) {
    synced = false;
    saved = errno;
  }
  Fd_ = -1;
  if (!synced) {
    error = ErrorText(saved);
    Discard();
  }
  return synced;
}

NoReplaceResult StagedCopy::Place(const std::u16string& to, bool replace, std::string& error) {
  const std::string target = WideToNarrow(to);
  NoReplaceResult result;
  if (replace) {
    result = ::rename(Path_.c_str(), target.c_str()) == 0 ? NoReplaceResult::Done : NoReplaceResult::Failed;
    if (result == NoReplaceResult::Failed) error = ErrorText(errno);
  } else {
    result = MoveNoReplace(NarrowToWide(Path_), to, error);
  }
  if (result == NoReplaceResult::Done) Path_.clear();
  return result;
}

bool SyncFolder(const std::u16string& folder, std::string& error) {
  const int fd = ::open(WideToNarrow(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    error = ErrorText(errno);
    if (fd >= 0) ::close(fd);
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace platform
