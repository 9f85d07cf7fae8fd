// File-system queries and the two file operations of the renaming workflow.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

inline constexpr char16_t PathDelimiter = u'/';

struct FileStatus {
  bool isDirectory = false;
  bool isRegularFile = false;  // neither a folder nor a pipe, socket or device
  std::int64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// False when the path's attributes cannot be read (missing, no access to its folder).
bool GetFileStatus(const std::u16string& path, FileStatus& status);

// The path made absolute against the current directory, with "." and ".." resolved
// lexically; symbolic links are left as they are.
std::u16string ExpandFileName(const std::u16string& path);

std::u16string GetExeFileName();
std::u16string GetCurrentDir();
bool SetCurrentDir(const std::u16string& folder);

// The system's message for an error number of the file-system calls ("File exists").
std::string ErrorText(int errorNumber);

// Moves `from` to `to` atomically, never replacing an existing `to`. On failure returns
// false with the system's message in `error`; both files are then as they were.
bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to, std::string& error);

// What a move or copy that never replaces did. An existing target is told apart from other
// failures, so that a caller can try another name: the system call itself decides, with
// no check beforehand that another process could overtake.
enum class NoReplaceResult { Done, TargetExists, Failed };

// MoveFileNoReplace with the outcome; `error` is set unless Done.
NoReplaceResult MoveNoReplace(const std::u16string& from, const std::u16string& to, std::string& error);
// Copies `from` to `to` only when no `to` exists. The data goes to a temporary file in the
// target folder, which then takes the name without replacing: a failed copy leaves neither
// a partial file nor a changed target.
NoReplaceResult CopyNoReplace(const std::u16string& from, const std::u16string& to, std::string& error);

// Copies `from` to `to`, replacing `to`. The data goes to a temporary file in the target
// folder first, which is then renamed over `to`: a failed copy leaves the old target and
// no partial file behind.
bool CopyFileReplacing(const std::u16string& from, const std::u16string& to, std::string& error);

}  // namespace platform
