#include "platform/RenameAt_posix.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// For file systems with neither (FAT and exFAT through FUSE): the new name is claimed by
// creating it, which fails on a taken name as atomically, and the file is renamed over its
// own claim. Another process could only overtake by removing the claim in between.
int ClaimThenRename(int fromFolder, const char* from, int toFolder, const char* to) {
  const int claim = ::openat(toFolder, to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (claim < 0) return errno;
  ::close(claim);
  if (::renameat(fromFolder, from, toFolder, to) == 0) return 0;
  const int saved = errno;
  ::unlinkat(toFolder, to, 0);
  return saved;
}

}  // namespace

int RenameNoReplaceAt(int fromFolder, const char* from, int toFolder, const char* to) {
  if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::linkat(fromFolder, from, toFolder, to, 0) != 0) {
    if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) return ClaimThenRename(fromFolder, from, toFolder, to);
    return errno;
  }
  // The old name goes once the new one stands.
  if (::unlinkat(fromFolder, from, 0) != 0) {
    const int saved = errno;
    ::unlinkat(toFolder, to, 0);
    return saved;
  }
  return 0;
}

TResultOf<NoReplaceResult> NoReplaceOutcome(int errorNumber) {
  if (errorNumber == 0) return {};
  return SystemFailure(errorNumber, errorNumber == EEXIST ? NoReplaceResult::TargetExists : NoReplaceResult::Failed);
}

}  // namespace platform
