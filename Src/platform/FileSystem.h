// File-system queries and the two file operations of the renaming workflow.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Base/Result.h"

namespace platform {

// The delimiter the system writes between folders, and every character it reads as one.
#ifdef _WIN32
inline constexpr char PathDelimiter = '\\';
inline constexpr char PathDelimiters[] = "\\/";
#else
inline constexpr char PathDelimiter = '/';
inline constexpr char PathDelimiters[] = "/";
#endif
inline constexpr bool IsPathDelimiter(char32_t c) {
  for (const char* d = PathDelimiters; *d; ++d)
    if (c == static_cast<char32_t>(*d)) return true;
  return false;
}

// A path that names its file whatever the current folder: from the root ("/folder", and on
// Windows "\\server\share" or "\folder"), or with a drive and a delimiter ("C:\folder").
inline constexpr bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
  if (path.size() >= 3 && path[1] == ':' && IsPathDelimiter(static_cast<unsigned char>(path[2]))) return true;
#endif
  return !path.empty() && IsPathDelimiter(static_cast<unsigned char>(path[0]));
}

// The longest path the system opens, in bytes, with its terminating zero.
inline constexpr std::size_t MaxPathBytes = 4096;
// The longest name of one file or folder that file systems hold: 255 bytes on POSIX
// systems, 255 UTF-16 units on Windows. NameUnitsOf tells what one byte of a UTF-8 name
// counts toward it.
inline constexpr std::size_t MaxNameLength = 255;
inline constexpr std::size_t NameUnitsOf([[maybe_unused]] unsigned char byte) {
#ifdef _WIN32
  // A continuation byte adds nothing; a character beyond the first plane takes two units.
  return (byte & 0xC0) == 0x80 ? 0 : byte >= 0xF0 ? 2 : 1;
#else
  return 1;
#endif
}

// A moment as file systems keep it: whole seconds since 1970 (UTC) and the nanoseconds
// into that second (0 to 999999999). Nanoseconds alone in 64 bits reach only the years
// 1678 to 2262, and files carry times beyond.
struct FileTime {
  std::int64_t seconds = 0;
  std::int32_t nanoseconds = 0;
  bool operator==(const FileTime&) const = default;
};

struct FileStatus {
  bool isDirectory = false;
  bool isRegularFile = false;  // neither a folder nor a pipe, socket or device
  std::int64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  FileTime modified;  // last change of the contents
};

// False when the path's attributes cannot be read (missing, no access to its folder).
bool GetFileStatus(const std::string& path, FileStatus& status);
// As GetFileStatus, but says why: 0, or the system's error number.
int QueryFileStatus(const std::string& path, FileStatus& status);

// The path made absolute against the current directory, naming the file that the system
// opens: "." is dropped, and ".." goes to the parent of the folder that the part in front
// of it names once its links are followed, as the system resolves it. Where that part
// names no folder, ".." is removed as text. Other links are left as they are.
std::string ExpandFileName(const std::string& path);

std::string GetExeFileName();
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& folder);

// The system's message for an error number of the file-system calls ("File exists").
std::string ErrorText(int errorNumber);
// The failure `kind` of the error number `errorNumber`, told by its message.
template <typename K = TResultKind>
TResultOf<K> SystemFailure(int errorNumber, K kind = K::Failed) {
  return {kind, ErrorText(errorNumber), errorNumber};
}

// Moves `from` to `to` atomically, never replacing an existing `to`. On failure both files
// are as they were.
TResult MoveFileNoReplace(const std::string& from, const std::string& to);

// What a move or copy that never replaces did. An existing target is told apart from other
// failures, so that a caller can try another name: the system call itself decides, with
// no check beforehand that another process could overtake.
enum class NoReplaceResult { Done, TargetExists, Failed };

// MoveFileNoReplace that tells a taken name (TargetExists, "File exists") from other failures.
TResultOf<NoReplaceResult> MoveNoReplace(const std::string& from, const std::string& to);
// Copies `from` to `to` only when no `to` exists. The data goes to a temporary file in the
// target folder, which then takes the name without replacing: a failed copy leaves neither
// a partial file nor a changed target. `stop` ends it as it ends CopyFileReplacing.
TResultOf<NoReplaceResult> CopyNoReplace(const std::string& from, const std::string& to,
                                         const std::atomic<bool>* stop = nullptr);

// Copies `from` to `to`, replacing `to`. The data goes to a temporary file in the target
// folder first, which is then renamed over `to`: a failed copy leaves the old target and
// no partial file behind. The temporary name has a fixed short length, so that every name
// the folder can hold can be copied to. The copy keeps the source's permissions except
// set-user-ID and set-group-ID, and its modification and access times. When `stop` turns true (a signal handler may set it) the
// copy ends at its next step, removes its temporary file and fails.
TResult CopyFileReplacing(const std::string& from, const std::string& to, const std::atomic<bool>* stop = nullptr);

// Sets the modification time of `path` to `microseconds` after 1970-01-01T00:00:00Z, leaving
// its access time as it is.
TResult SetModificationTime(const std::string& path, std::int64_t microseconds);

// Removes the file `path`; false when it is still there or never was.
bool RemoveFile(const std::string& path);

// Writes `bytes` to `path` the same way: a temporary file in the folder, renamed over
// `path`. A failure leaves the old file and no partial file. A regular file that is
// replaced passes its permission bits on (without set-user-ID and set-group-ID); a new
// file gets the mode the process's mask allows.
TResult WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace platform
