// What the Windows implementations of the platform layer share: the wide text of the
// system calls, an owner for handles, and the system's errors told as error numbers, so
// that the layer's callers see the same numbers (ENOENT, EEXIST, ...) on every system.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The system's headers make these names macros; the platform layer has functions of them.
#undef FreeModule

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace platform::win32 {

// The layer takes and gives UTF-8; these turn it into the system calls' wide text and back,
// once per call. Bytes that are not UTF-8 travel as the escapes of Text.h, both ways.
std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

// Closes the handle on every way out.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Gives the handle up to the caller, who closes it.
  HANDLE Release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const bool closed = !valid() || ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// The error number that stands for a system error code.
int ErrorNumber(DWORD code);
// ErrorNumber(GetLastError()).
int LastErrorNumber();
// The system's own message for a system error code, in UTF-8 without the closing period.
std::string SystemMessage(DWORD code);

// The folder part of `path` (up to its last "\" or "/"), "." when it has none.
std::string FolderOf(const std::string& path);

// A new file of a short random name (".part-NNNNNN", a fixed length, so that every name the
// folder can hold can be written through it) in `folder`, open for writing and deleting and
// shared with no one; never one that exists. `name` gets its path, `error` the error number.
OwnedHandle CreateTemporaryIn(const std::string& folder, std::string& name, int& error);
// Copies what is left of `source` into `target` and gives `target` the access and
// modification times that `source` had before; `stop` turning true ends it with EINTR.
bool CopyContentsAndTimes(HANDLE source, HANDLE target, const std::atomic<bool>* stop, int& error);
// Makes the entries of `folder` durable, as far as the file system takes a flush of a folder.
bool FlushFolder(const std::string& folder, int& error);

// The system's file time (100 ns steps since 1601) of a count of microseconds since 1970
// (UTC), and the seconds and nanoseconds since 1970 of a file time, which runs to the year
// 30827 (nanoseconds alone in 64 bits end in 2262).
FILETIME FileTimeOfMicroseconds(std::int64_t microseconds);
FileTime UnixTimeOfFileTime(const FILETIME& time);

}  // namespace platform::win32
