// Renames relative to folder descriptors, for the file operations that must not follow a
// folder's path again once it was opened.
#pragma once
#include <string>

#include "platform/FileSystem.h"

namespace platform {

// Gives `from` in `fromFolder` the name `to` in `toFolder` without replacing what is there:
// renameat2 with RENAME_NOREPLACE, or a hard link and the removal of the old name where the
// file system lacks it (a hard link fails on an existing name just as atomically), or where
// it has no hard links either, a claim of the new name made with O_EXCL that the file is
// then renamed over. Returns 0 or the error number (EEXIST for a taken name). AT_FDCWD
// stands for the current folder.
int RenameNoReplaceAt(int fromFolder, const char* from, int toFolder, const char* to);

// The outcome of a no-replace operation that returned `errorNumber` (0 for success).
TResultOf<NoReplaceResult> NoReplaceOutcome(int errorNumber);

}  // namespace platform
