#include "platform/StagedCopy.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "platform/FileDescriptor_posix.h"
#include "platform/RenameAt_posix.h"
#include "platform/SystemTime_posix.h"

namespace platform {

namespace {

bool Stopped(const std::atomic<bool>* stop) {
  if (!stop || !stop->load()) return false;
  errno = EINTR;
  return true;
}

// Pieces of 64 MiB, so that a stop is seen between them.
constexpr off_t Piece = off_t{64} << 20;

// Writes all of `bytes` at `offset` of `target`.
bool WriteAllAt(int target, const char* bytes, size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t put = ::pwrite(target, bytes, size, offset);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += put;
    size -= static_cast<size_t>(put);
    offset += put;
  }
  return true;
}

// Copies `length` bytes at `offset` of `source` to the same place in `target`: inside the
// kernel, which moves no data through this process, while `kernelCopy` holds; else (when
// the two files do not allow it) by read and write. `written` counts the bytes as they go.
bool CopyRange(int source, int target, off_t offset, off_t length, bool& kernelCopy, const std::atomic<bool>* stop,
               std::atomic<std::uint64_t>* written) {
  std::vector<char> buffer;
  while (length > 0) {
    if (Stopped(stop)) return false;
    ssize_t moved = 0;
    if (kernelCopy) {
      loff_t in = offset, out = offset;
      moved = ::copy_file_range(source, &in, target, &out, static_cast<size_t>(std::min(length, Piece)), 0);
      if (moved < 0 && errno == EINTR) continue;
      // A file system that cannot copy inside the kernel says so at once; one that
      // reports no data for a file with data (some virtual ones) copies none.
      if (moved == 0 || (moved < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                                       errno == EBADF || errno == EPERM))) {
        kernelCopy = false;
        continue;
      }
      if (moved < 0) return false;
    } else {
      buffer.resize(1 << 20);
      moved = ::pread(source, buffer.data(), static_cast<size_t>(std::min<off_t>(length, buffer.size())), offset);
      if (moved < 0 && errno == EINTR) continue;
      if (moved < 0) return false;
      // The file became shorter since: what is left is its end.
      if (moved == 0) return true;
      if (!WriteAllAt(target, buffer.data(), static_cast<size_t>(moved), offset)) return false;
    }
    offset += moved;
    length -= moved;
    if (written) *written += static_cast<std::uint64_t>(moved);
  }
  return true;
}

// The fastest way the two files allow: a clone shares the blocks (copy on write); else the
// source's data is copied piece by piece and its holes stay holes, so that a sparse file
// takes no more room as a copy than it did.
bool CopyContents(int source, int target, const std::atomic<bool>* stop, std::atomic<std::uint64_t>* written) {
  if (Stopped(stop)) return false;
  struct stat info {};
  if (::fstat(source, &info) != 0) return false;
  if (::ioctl(target, FICLONE, source) == 0) {
    if (written) *written += static_cast<std::uint64_t>(info.st_size);
    return true;
  }
  bool kernelCopy = true;
  for (off_t offset = 0; offset < info.st_size;) {
    off_t data = ::lseek(source, offset, SEEK_DATA);
    off_t hole = info.st_size;
    if (data < 0 && errno == ENXIO) break;  // only a hole is left
    if (data < 0) {
      // A file system that does not tell holes: one piece of data to the end.
      data = offset;
    } else if ((hole = ::lseek(source, data, SEEK_HOLE)) < 0) {
      hole = info.st_size;
    }
    if (!CopyRange(source, target, data, std::min(hole, info.st_size) - data, kernelCopy, stop, written)) return false;
    offset = hole;
  }
  // A hole at the end is length without data. (Only then: some file systems, FAT through
  // FUSE, refuse to set a length.)
  struct stat copy {};
  if (::fstat(target, &copy) != 0) return false;
  return copy.st_size >= info.st_size || ::ftruncate(target, info.st_size) == 0;
}

// Gives the copy the source's permission bits; a file system that keeps none (FAT, exFAT)
// refuses, and the copy goes on without them.
bool KeepMode(int target, mode_t mode) {
  return ::fchmod(target, mode) == 0 || errno == EPERM || errno == ENOSYS || errno == EOPNOTSUPP;
}

// A new temporary file of a short random name of fixed length in `folder`, so that every
// name the folder can hold can be written through it; never one that exists.
int CreateTemporaryIn(int folder, std::string& name) {
  static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryPrefix;
    for (int index = 0; index < 6; ++index) name += Letters[random() % (sizeof Letters - 1)];
    const int fd = ::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Opens the source of a copy into `source`: a regular file only, and never waiting for a
// writer on a pipe that was put in its place.
TResult OpenSource(const std::string& from, bool followLink, FileDescriptor& source) {
  source.reset(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW)));
  struct stat info {};
  if (source.get() < 0 || ::fstat(source.get(), &info) != 0) {
    // A link refused gives ELOOP, whose message names no link.
    if (errno == ELOOP && !followLink) return {TResultKind::Failed, NotRegularFile};
    return SystemFailure(errno);
  }
  if (!S_ISREG(info.st_mode)) return {TResultKind::Failed, NotRegularFile};
  // Reads of a regular file never wait anyway; the flag goes so that nothing else sees it.
  ::fcntl(source.get(), F_SETFL, ::fcntl(source.get(), F_GETFL) & ~O_NONBLOCK);
  return {};
}

}  // namespace

StagedCopy::~StagedCopy() { Discard(); }

StagedCopy::StagedCopy(StagedCopy&& other) noexcept
    : Folder_(std::move(other.Folder_)),
      Temporary_(std::exchange(other.Temporary_, {})),
      Fd_(std::exchange(other.Fd_, -1)),
      Size_(other.Size_) {}

StagedCopy& StagedCopy::operator=(StagedCopy&& other) noexcept {
  if (this != &other) {
    Discard();
    Folder_ = std::move(other.Folder_);
    Temporary_ = std::exchange(other.Temporary_, {});
    Fd_ = std::exchange(other.Fd_, -1);
    Size_ = other.Size_;
  }
  return *this;
}

void StagedCopy::Discard() {
  // Removed while still locked: no other run takes it for a leftover in between.
  if (!Temporary_.empty()) ::unlinkat(Folder_->Descriptor(), Temporary_.c_str(), 0);
  Temporary_.clear();
  if (Fd_ >= 0) ::close(Fd_);
  Fd_ = -1;
}

TResult StagedCopy::Write(const std::string& from, std::shared_ptr<const TargetFolder> folder, bool followLink,
                          const std::atomic<bool>* stop, std::atomic<std::uint64_t>* written) {
  Discard();
  Folder_ = std::move(folder);
  FileDescriptor source;
  if (const TResult opened = OpenSource(from, followLink, source); !opened) return opened;
  struct stat info {};
  bool copied = ::fstat(source.get(), &info) == 0;
  if (copied) {
    Fd_ = CreateTemporaryIn(Folder_->Descriptor(), Temporary_);
    copied = Fd_ >= 0;
    if (!copied) Temporary_.clear();
  }
  if (copied) {
    ::flock(Fd_, LOCK_EX | LOCK_NB);
    constexpr mode_t KeptModeBits = 07777 & ~(S_ISUID | S_ISGID);
    // The times go last: every write before would set the modification time anew.
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    copied = CopyContents(source.get(), Fd_, stop, written) && KeepMode(Fd_, info.st_mode & KeptModeBits) &&
              ::futimens(Fd_, times) == 0;
  }
  if (!copied) {
    const TResult failure = SystemFailure(errno);
    Discard();
    return failure;
  }
  Size_ = info.st_size;
  return {};
}

TResult StagedCopy::SetModificationTime(std::int64_t microseconds) {
  const struct timespec times[2] = {{0, UTIME_OMIT}, TimeOfMicroseconds(microseconds)};
  return ::futimens(Fd_, times) == 0 ? TResult{} : SystemFailure(errno);
}

TResult StagedCopy::Sync() {
  if (::fsync(Fd_) == 0) return {};
  const TResult failure = SystemFailure(errno);
  Discard();
  return failure;
}

TResultOf<NoReplaceResult> StagedCopy::Place(const std::string& name, bool replace) {
  const int folder = Folder_->Descriptor();
  const int failure = replace ? (::renameat(folder, Temporary_.c_str(), folder, name.c_str()) == 0 ? 0 : errno)
                              : RenameNoReplaceAt(folder, Temporary_.c_str(), folder, name.c_str());
  const TResultOf<NoReplaceResult> result = NoReplaceOutcome(failure);
  if (result) {
    Temporary_.clear();
    Discard();
  }
  return result;
}

std::size_t RemoveAbandonedCopies(const TargetFolder& folder) {
  const int listed = ::openat(folder.Descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* entries = listed < 0 ? nullptr : ::fdopendir(listed);
  if (!entries) {
    if (listed >= 0) ::close(listed);
    return 0;
  }
  const std::size_t nameLength = std::strlen(TemporaryPrefix) + 6;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(entries))
    if (std::strncmp(entry->d_name, TemporaryPrefix, std::strlen(TemporaryPrefix)) == 0 &&
        std::strlen(entry->d_name) == nameLength)
      names.emplace_back(entry->d_name);
  ::closedir(entries);
  std::size_t removed = 0;
  for (const std::string& name : names) {
    const FileDescriptor file(
        ::openat(folder.Descriptor(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    // A running copy holds its lock until it names or removes its file.
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
      continue;
    if (::unlinkat(folder.Descriptor(), name.c_str(), 0) == 0) ++removed;
  }
  return removed;
}

}  // namespace platform
