#include "platform/Environment.h"

#include <cstdlib>


namespace platform {

namespace {

std::string_view WithoutClosingDelimiters(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  return folder;
}

}  // namespace

bool SameSearchPathEntry(std::string_view entry, std::string_view folder) {
  return WithoutClosingDelimiters(entry) == WithoutClosingDelimiters(folder);
}

std::string GetEnvVar(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : std::string();
}

bool SetEnvVar(const std::string& name, const std::string& value) {
  return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

std::string UserStateFolder() {
  const std::string state = GetEnvVar("XDG_STATE_HOME");
  if (!state.empty() && state.front() == '/') return state;
  const std::string home = GetEnvVar("HOME");
  return home.empty() ? home : home + "/.local/state";
}

}  // namespace platform
