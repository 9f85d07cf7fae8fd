#include "platform/DynamicLibrary.h"

#include <dlfcn.h>


namespace platform {

namespace {
// The loader's message for the last failure, without trailing blanks, controls or periods.
std::string TakeDlError() {
  const char* raw = dlerror();
  std::string message = raw ? raw : "unknown error";
  while (!message.empty() && (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.'))
    message.pop_back();
  return message;
}
}  // namespace

ModuleHandle LoadModule(const std::string& pathOrName, std::string& error) {
  dlerror();
  const int keep = ModulesStayMapped ? RTLD_NODELETE : 0;
  void* handle = dlopen(pathOrName.c_str(), RTLD_NOW | RTLD_LOCAL | keep);
  if (!handle) error = TakeDlError();
  return handle;
}

void* FindSymbol(ModuleHandle module, const char* name, std::string& error) {
  dlerror();
  void* symbol = dlsym(module, name);
  if (!symbol) error = TakeDlError();
  return symbol;
}

void FreeModule(ModuleHandle module) {
  if (module) dlclose(module);
}

bool IsModuleResident(const std::string& pathOrName) {
  void* handle = dlopen(pathOrName.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

}  // namespace platform
