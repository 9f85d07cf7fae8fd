#include "support/ScopedEnvVar.h"

#include <cstdlib>

namespace {

void Put(const std::string& name, const char* value) {
#ifdef _WIN32
  // An empty value removes the variable.
  ::_putenv_s(name.c_str(), value ? value : "");
#else
  if (value)
    ::setenv(name.c_str(), value, 1);
  else
    ::unsetenv(name.c_str());
#endif
}

}  // namespace

ScopedEnvVar::ScopedEnvVar(std::string name, const char* value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) old_ = old;
  Put(name_, value);
}

ScopedEnvVar::~ScopedEnvVar() { Put(name_, old_ ? old_->c_str() : nullptr); }
