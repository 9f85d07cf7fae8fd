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
#include <memory>
#include <string_view>
#include <vector>

#include "platform/FileDescriptor_posix.h"
#include "platform/RenameAt_posix.h"
#include "platform/StagedCopy.h"
#include "platform/TargetFolders.h"
#include "platform/SystemTime_posix.h"

namespace platform {

static_assert(MaxPathBytes == PATH_MAX);

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

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Replaces `components` by those of the folder they name once its links are followed;
// false, leaving them as they are, when they name no folder.
bool ResolveFolder(std::vector<std::string>& components) {
  std::string folder;
  for (const auto& part : components) folder += '/' + part;
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
    components.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

}  // namespace

bool GetFileStatus(const std::string& path, FileStatus& status) { return QueryFileStatus(path, status) == 0; }

int QueryFileStatus(const std::string& path, FileStatus& status) {
  struct stat info {};
  if (path.empty()) return ENOENT;
  if (::stat(path.c_str(), &info) != 0) return errno;
  status.isDirectory = S_ISDIR(info.st_mode);
  status.isRegularFile = S_ISREG(info.st_mode);
  status.size = info.st_size;
  status.device = info.st_dev;
  status.inode = info.st_ino;
  status.modified = {std::int64_t{info.st_mtim.tv_sec}, static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
  return 0;
}

std::string ExpandFileName(const std::string& path) {
  std::string full = path;
  if (full.empty() || full[0] != '/') {
    std::string cwd = GetCurrentDir();
    if (cwd.empty() || cwd.back() != '/') cwd += '/';
    full = cwd + full;
  }
  std::vector<std::string> parts;
  size_t start = 1;
  while (start <= full.size()) {
    size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    std::string part = full.substr(start, end - start);
    if (part == "..") {
      // The system takes the parent of the folder the part in front names, behind its links.
      ResolveFolder(parts);
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const auto& part : parts) result += '/' + part;
  if (result.empty() || (!full.empty() && full.back() == '/')) result += '/';
  return result;
}

std::string GetExeFileName() {
  std::vector<char> buffer(4096);
  ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string GetCurrentDir() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

bool SetCurrentDir(const std::string& folder) { return ::chdir(folder.c_str()) == 0; }

std::string ErrorText(int errorNumber) {
  char buffer[256];
  // GNU strerror_r returns the message, which may or may not live in the buffer.
  return ::strerror_r(errorNumber, buffer, sizeof buffer);
}

namespace {

// Fills a temporary file in the target's folder through `fill`, then gives it the target's
// name through `place` (a replacing or a no-replace rename): a failure leaves the old target
// and no partial file. Returns 0 or the error number.
int PlaceThroughTemporary(const std::string& target, const std::function<bool(int fd)>& fill,
                          const std::function<int(const std::string& temporary)>& place) {
  // A short name of fixed length, so that every target name the system allows can be written.
  std::string temporary = FolderOf(target) + "/.part-XXXXXX";
  FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
  if (out.get() < 0) return errno;
  bool written = fill(out.get()) && ::fsync(out.get()) == 0;
  int saved = errno;
  if (!out.Close() && written) {
    written = false;
    saved = errno;
  }
  if (written) saved = place(temporary);
  if (saved != 0) ::unlink(temporary.c_str());
  return saved;
}

int ReplacingRename(const std::string& temporary, const std::string& target) {
  return ::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}

TResult Succeeded(int errorNumber) { return errorNumber == 0 ? TResult{} : SystemFailure(errorNumber); }

// One copy on its own: written, made durable, then named.
TResultOf<NoReplaceResult> CopyStaged(const std::string& from, const std::string& to, bool replace,
                                      const std::atomic<bool>* stop) {
  const auto folder = std::make_shared<TargetFolder>();
  std::vector<MadeFolder> made;
  TResult step = folder->Open(FolderOf(to), {}, made);
  StagedCopy staged;
  if (step) step = staged.Write(from, folder, true, stop);
  if (step) step = staged.Sync();
  if (!step) return {NoReplaceResult::Failed, step.Message(), step.ErrorNumber()};
  return staged.Place(to.substr(to.rfind('/') + 1), replace);
}

}  // namespace

TResultOf<NoReplaceResult> MoveNoReplace(const std::string& from, const std::string& to) {
  return NoReplaceOutcome(RenameNoReplaceAt(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str()));
}

TResult MoveFileNoReplace(const std::string& from, const std::string& to) { return MoveNoReplace(from, to); }

TResult CopyFileReplacing(const std::string& from, const std::string& to, const std::atomic<bool>* stop) {
  return CopyStaged(from, to, true, stop);
}

TResultOf<NoReplaceResult> CopyNoReplace(const std::string& from, const std::string& to,
                                         const std::atomic<bool>* stop) {
  return CopyStaged(from, to, false, stop);
}

TResult SetModificationTime(const std::string& path, std::int64_t microseconds) {
  const struct timespec times[2] = {{0, UTIME_OMIT}, TimeOfMicroseconds(microseconds)};
  return Succeeded(::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? 0 : errno);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

TResult WriteFileReplacing(const std::string& target, std::string_view bytes) {
  // A file that is replaced keeps who may read it: a private file stays private.
  struct stat old {};
  const mode_t mode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                          ? old.st_mode & 07777 & ~(S_ISUID | S_ISGID)
                          : NewFileMode();
  return Succeeded(
      PlaceThroughTemporary(
          target, [&](int out) { return WriteAll(out, bytes) && ::fchmod(out, mode) == 0; },
          [&](const std::string& temporary) { return ReplacingRename(temporary, target); }));
}

}  // namespace platform
