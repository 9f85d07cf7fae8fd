#include "platform/Environment.h"

#include <cstdlib>

#include "platform/Text.h"

namespace platform {

std::u16string GetEnvVar(const std::u16string& name) {
  const char* value = std::getenv(WideToNarrow(name).c_str());
  return value ? NarrowToWide(value) : std::u16string();
}

bool SetEnvVar(const std::u16string& name, const std::u16string& value) {
  return ::setenv(WideToNarrow(name).c_str(), WideToNarrow(value).c_str(), 1) == 0;
}

}  // namespace platform
