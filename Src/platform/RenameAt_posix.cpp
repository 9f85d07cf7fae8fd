#include "platform/RenameAt_posix.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

int RenameNoReplaceAt(int fromFolder, const char* from, int toFolder, const char* to) {
  if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::linkat(fromFolder, from, toFolder, to, 0) != 0) return errno;
  // The old name goes once the new one stands.
  if (::unlinkat(fromFolder, from, 0) != 0) {
    const int saved = errno;
    ::unlinkat(toFolder, to, 0);
    return saved;
  }
  return 0;
}

NoReplaceResult NoReplaceOutcome(int errorNumber, std::string& error) {
  if (errorNumber == 0) return NoReplaceResult::Done;
  error = ErrorText(errorNumber);
  return errorNumber == EEXIST ? NoReplaceResult::TargetExists : NoReplaceResult::Failed;
}

}  // namespace platform
