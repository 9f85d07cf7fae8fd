// What the Windows implementations of the platform layer share: wide strings for the
// system calls, an owner for handles, and the system's errors told as error numbers, so
// that the layer's callers see the same numbers (ENOENT, EEXIST, ...) on every system.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The system's headers make these names macros; the platform layer has functions of them.
#undef FreeModule

#include <string>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string FromWide(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
  return {reinterpret_cast<const char16_t*>(text), length};
}

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
std::u16string FolderOf(const std::u16string& path);

}  // namespace platform::win32
