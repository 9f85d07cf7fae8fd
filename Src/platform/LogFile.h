// Opening the append-only log file. Both calls hold an exclusive advisory lock on the file
// while it is open, so a second writer (another process using these calls) is refused;
// plain readers can still read it, which is as close to "others may read but not write"
// as POSIX sharing goes. Write and close with RawFile.h.
#pragma once
#include <string>

#include "platform/RawFile.h"

namespace platform {

// An existing file, opened for writing at its end. InvalidFileHandle when it cannot be
// opened or another writer holds it.
FileHandle OpenLogFileForAppend(const std::string& path);
// A new file; when the name exists by now it is appended to instead of emptied.
// InvalidFileHandle when it can be neither created nor opened.
FileHandle CreateLogFile(const std::string& path);

}  // namespace platform
