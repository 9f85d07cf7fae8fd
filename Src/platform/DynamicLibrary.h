// Loading shared libraries and looking up their exports by name.
#pragma once
#include <string>

namespace platform {

using ModuleHandle = void*;

// True in builds that keep a released module mapped (sanitizer builds): FreeModule then
// only drops the reference, and IsModuleResident keeps answering true.
#ifdef MORVANE_KEEP_MODULES_MAPPED
inline constexpr bool ModulesStayMapped = true;
#else
inline constexpr bool ModulesStayMapped = false;
#endif

// Loads a module, resolving all its symbols now. A name with a delimiter is loaded from
// that path; a bare name goes through the system's standard search. Returns nullptr and
// sets `error` to the system's message when the module cannot be loaded.
ModuleHandle LoadModule(const std::string& pathOrName, std::string& error);

// Returns nullptr and sets `error` when the module does not export `name`.
void* FindSymbol(ModuleHandle module, const char* name, std::string& error);

void FreeModule(ModuleHandle module);

// True when a module of that path or name is mapped into the process right now.
bool IsModuleResident(const std::string& pathOrName);

}  // namespace platform
