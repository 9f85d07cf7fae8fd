#include "platform/Environment.h"

#include <cstdlib>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

namespace {

// "C:\" keeps its delimiter: "C:" alone names the working folder of drive C.
std::string_view WithoutClosingDelimiters(std::string_view folder) {
  while (folder.size() > 1 && IsPathDelimiter(folder.back()) && folder[folder.size() - 2] != ':')
    folder.remove_suffix(1);
  return folder;
}

}  // namespace

bool SameSearchPathEntry(std::string_view entry, std::string_view folder) {
  const std::wstring one = win32::Wide(WithoutClosingDelimiters(entry));
  const std::wstring other = win32::Wide(WithoutClosingDelimiters(folder));
  return ::CompareStringOrdinal(one.data(), static_cast<int>(one.size()), other.data(), static_cast<int>(other.size()),
                                TRUE) == CSTR_EQUAL;
}

std::string GetEnvVar(const std::string& name) {
  const std::wstring wideName = win32::Wide(name);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return win32::Narrow({buffer.data(), length});
    buffer.resize(length);
  }
}

bool SetEnvVar(const std::string& name, const std::string& value) {
  const std::wstring wideName = win32::Wide(name);
  const std::wstring wideValue = win32::Wide(value);
  // The C run-time keeps its own copy, which libraries read through getenv.
  const std::wstring assignment = wideName + L"=" + wideValue;
  return ::SetEnvironmentVariableW(wideName.c_str(), wideValue.c_str()) && ::_wputenv(assignment.c_str()) == 0;
}

std::string UserStateFolder() { return GetEnvVar("LOCALAPPDATA"); }

}  // namespace platform
