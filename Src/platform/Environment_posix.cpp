#include "platform/Environment.h"

#include <cstdlib>

#include "platform/Text.h"

namespace platform {

namespace {

std::u16string_view WithoutClosingDelimiters(std::u16string_view folder) {
  while (folder.size() > 1 && folder.back() == u'/') folder.remove_suffix(1);
  return folder;
}

}  // namespace

bool SameSearchPathEntry(std::u16string_view entry, std::u16string_view folder) {
  return WithoutClosingDelimiters(entry) == WithoutClosingDelimiters(folder);
}

std::u16string GetEnvVar(const std::u16string& name) {
  const char* value = std::getenv(WideToNarrow(name).c_str());
  return value ? NarrowToWide(value) : std::u16string();
}

bool SetEnvVar(const std::u16string& name, const std::u16string& value) {
  return ::setenv(WideToNarrow(name).c_str(), WideToNarrow(value).c_str(), 1) == 0;
}

std::u16string UserStateFolder() {
  const std::u16string state = GetEnvVar(u"XDG_STATE_HOME");
  if (!state.empty() && state.front() == u'/') return state;
  const std::u16string home = GetEnvVar(u"HOME");
  return home.empty() ? home : home + u"/.local/state";
}

}  // namespace platform
