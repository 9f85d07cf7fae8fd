// The process-wide entry-point tables of the libraries, made from the list of libraries
// (FFLoad/Libraries.inc). Each table is filled by name when its library is loaded and
// emptied when it is unloaded; call through a slot only while the loader reports the
// library as loaded. Every slot's type is taken from the library's own header, so a
// changed prototype fails to compile instead of crashing.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "FFLoad/LegacyEntryTypes.h"
#include "FFLoad/LibrarySet.h"
#include "FFLoad/MediaHeaders.h"
#include "platform/DynamicLibrary.h"

namespace ff {

// The C library functions that C++ overloads on constness: the C export is the one taking
// a const pointer, chosen from the header's overloads.
namespace overload {
using strchr_fn = const char*(const char*, int);
using strrchr_fn = const char*(const char*, int);
using strstr_fn = const char*(const char*, const char*);
}  // namespace overload

// The table of each library, typed by its index.
template <TLibraryIndex Index>
struct EntryTable;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#define FF_LIBRARY(table, index, ...)                  \
  template <>                                          \
  struct EntryTable<index> {                           \
    bool operator==(const EntryTable&) const = default;
#define FF_END_LIBRARY };
#define FF_REQUIRED(name) decltype(&::name) name = nullptr;
#define FF_OVERLOADED(name) decltype(static_cast<overload::name##_fn*>(&::name)) name = nullptr;
#define FF_LEGACY_OPTIONAL(name) legacy::name##_fn* name = nullptr;
#define FF_VERSION(name)              \
  decltype(&::name) name = nullptr;   \
  unsigned RunningVersion() const { return name ? name() : 0; }
#include "FFLoad/Libraries.inc"
#pragma GCC diagnostic pop

#define FF_LIBRARY(table, index, ...) extern EntryTable<index> table;
#include "FFLoad/Libraries.inc"

// A required export that a module lacks, and the system's message about it.
struct TMissingEntry {
  std::string Name;
  std::string Reason;
};

// Looks every name of library `index` up in table order. The first missing required name
// is returned and leaves the whole table empty; nothing when the table is filled.
std::optional<TMissingEntry> BindEntries(int index, platform::ModuleHandle module);
// Empties the table of library `index`.
void UnbindEntries(int index);
// True when no slot of the table of library `index` holds an address.
bool EntriesEmpty(int index);
// The version that library `index` reports through its version entry, packed like the
// headers' LIB*_VERSION_INT; 0 when it has no such entry or the entry is not bound.
unsigned RunningVersion(int index);

// The current byte position of an avformat I/O context.
std::int64_t IOPosition(AVIOContext* context);

}  // namespace ff
