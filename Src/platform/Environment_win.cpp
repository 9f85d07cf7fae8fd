#include "platform/Environment.h"

#include <cstdlib>
#include <vector>

#include "platform/Win32Support.h"

namespace platform {

namespace {

// "C:\" keeps its delimiter: "C:" alone names the working folder of drive C.
std::u16string_view WithoutClosingDelimiters(std::u16string_view folder) {
  while (folder.size() > 1 && (folder.back() == u'\\' || folder.back() == u'/') && folder[folder.size() - 2] != u':')
    folder.remove_suffix(1);
  return folder;
}

}  // namespace

bool SameSearchPathEntry(std::u16string_view entry, std::u16string_view folder) {
  entry = WithoutClosingDelimiters(entry);
  folder = WithoutClosingDelimiters(folder);
  return ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(entry.data()), static_cast<int>(entry.size()),
                                reinterpret_cast<const wchar_t*>(folder.data()), static_cast<int>(folder.size()),
                                TRUE) == CSTR_EQUAL;
}

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
