// Sets or unsets an environment variable for one scope and puts the old value back.
#pragma once
#include <optional>
#include <string>

class ScopedEnvVar {
 public:
  // A null `value` unsets the variable.
  ScopedEnvVar(std::string name, const char* value);
  ~ScopedEnvVar();
  ScopedEnvVar(const ScopedEnvVar&) = delete;
  ScopedEnvVar& operator=(const ScopedEnvVar&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};
