// Small files of the program's own that grow by whole records (the undo journal), and
// small files read whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Base/Result.h"

namespace platform {

// Appends `record` (which should end with a line break) in one write, so that records of
// several processes never mix. A file that does not end with a line break (a record cut
// short by a crash) first gets one, so that the new record starts a line of its own. The
// file is made, readable by its owner only, when missing. Never waits: a path that is not
// a regular file (a pipe nobody reads) fails at once.
TResult AppendRecord(const std::string& path, std::string_view record);

// Makes `folder` and each missing folder above it, open to their owner only.
TResult CreateFolders(const std::string& folder);

// The whole content of a regular file. Never waits: a pipe or a device fails at once, and
// so does a file of more than `maxBytes` ("File too large").
TResult ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes = SIZE_MAX);

}  // namespace platform
