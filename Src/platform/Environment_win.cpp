#include "platform/Environment.h"

#include <cstdlib>
#include <vector>

#include "platform/Win32Support.h"

namespace platform {

std::u16string GetEnvVar(const std::u16string& name) {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD length = ::GetEnvironmentVariableW(win32::Wide(name), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return win32::FromWide(buffer.data(), length);
    buffer.resize(length);
  }
}

bool SetEnvVar(const std::u16string& name, const std::u16string& value) {
  // The C run-time keeps its own copy, which libraries read through getenv.
  const std::wstring assignment = std::wstring(win32::Wide(name)) + L"=" + win32::Wide(value);
  return ::SetEnvironmentVariableW(win32::Wide(name), win32::Wide(value)) && ::_wputenv(assignment.c_str()) == 0;
}

std::u16string UserStateFolder() { return GetEnvVar(u"LOCALAPPDATA"); }

}  // namespace platform
