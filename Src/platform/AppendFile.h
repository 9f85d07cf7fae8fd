// Small files of the program's own that grow by whole records (the undo journal), and
// small files read whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Appends `record` (which should end with a line break) in one write, so that records of
// several processes never mix. A file that does not end with a line break (a record cut
// short by a crash) first gets one, so that the new record starts a line of its own. The
// file is made, readable by its owner only, when missing. Never waits: a path that is not
// a regular file (a pipe nobody reads) fails at once. On failure returns false with the
// system's message in `error`.
bool AppendRecord(const std::string& path, std::string_view record, std::string& error);

// Makes `folder` and each missing folder above it, open to their owner only.
bool CreateFolders(const std::string& folder, std::string& error);

// The whole content of a regular file. Never waits: a pipe or a device fails at once, and
// so does a file of more than `maxBytes` ("File too large").
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t maxBytes = SIZE_MAX);

}  // namespace platform
