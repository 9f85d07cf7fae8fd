#include "platform/DynamicLibrary.h"

#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

namespace {

bool HasDelimiter(const std::string& text) { return text.find_first_of(PathDelimiters) != std::string::npos; }

}  // namespace

ModuleHandle LoadModule(const std::string& pathOrName, std::string& error) {
  // A failed load reports here, never in a dialog box.
  DWORD previousMode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  HMODULE module;
  if (HasDelimiter(pathOrName)) {
    // From a full path, the module's own dependencies are looked for in its folder first.
    module = ::LoadLibraryExW(win32::Wide(ExpandFileName(pathOrName)).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  } else {
    // The program's folder and the system's, never the working folder.
    module = ::LoadLibraryExW(win32::Wide(pathOrName).c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  }
  const DWORD code = ::GetLastError();
  ::SetThreadErrorMode(previousMode, nullptr);
  if (!module) error = win32::SystemMessage(code);
  return module;
}

void* FindSymbol(ModuleHandle module, const char* name, std::string& error) {
  void* symbol = reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
  if (!symbol) error = win32::SystemMessage(::GetLastError());
  return symbol;
}

void FreeModule(ModuleHandle module) {
  if (module && !ModulesStayMapped) ::FreeLibrary(static_cast<HMODULE>(module));
}

bool IsModuleResident(const std::string& pathOrName) {
  HMODULE module = nullptr;
  return ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, win32::Wide(pathOrName).c_str(),
                              &module) != 0;
}

}  // namespace platform
