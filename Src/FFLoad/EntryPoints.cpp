#include "FFLoad/EntryPoints.h"

#include <iterator>
#include <span>


namespace ff {

#define FF_LIBRARY(table, index, ...) EntryTable<index> table;
#include "FFLoad/Libraries.inc"

namespace {

// One slot of a table: its export name, whether a library may lack it, and how a found
// address is stored into the typed slot.
template <typename Table>
struct EntrySlot {
  const char* name;
  bool optional;
  void (*store)(Table& table, void* symbol);
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#define FF_LIBRARY(table, index, ...) const EntrySlot<EntryTable<index>> table##Slots[] = {
#define FF_END_LIBRARY };
#define FF_SLOT(name, optional) \
  {#name, optional, [](auto& table, void* symbol) { table.name = reinterpret_cast<decltype(table.name)>(symbol); }},
#define FF_REQUIRED(name) FF_SLOT(name, false)
#define FF_OVERLOADED(name) FF_SLOT(name, false)
#define FF_LEGACY_OPTIONAL(name) FF_SLOT(name, true)
#define FF_VERSION(name) FF_SLOT(name, true)
#include "FFLoad/Libraries.inc"
#undef FF_SLOT
#pragma GCC diagnostic pop

template <typename Table>
std::optional<TMissingEntry> BindTable(Table& table, std::span<const EntrySlot<Table>> slots,
                                       platform::ModuleHandle module) {
  for (const EntrySlot<Table>& slot : slots) {
    std::string error;
    void* symbol = platform::FindSymbol(module, slot.name, error);
    slot.store(table, symbol);
    if (!symbol && !slot.optional) {
      table = Table{};  // nothing may call into a module that is about to be released
      return TMissingEntry{slot.name, error};
    }
  }
  return std::nullopt;
}

template <typename Table>
unsigned VersionOf(const Table& table) {
  if constexpr (requires { table.RunningVersion(); })
    return table.RunningVersion();
  else
    return 0;
}

// What the loader does with a table, whichever library's it is.
struct TableOperations {
  std::optional<TMissingEntry> (*bind)(platform::ModuleHandle module);
  void (*unbind)();
  bool (*empty)();
  unsigned (*version)();
};

#define FF_LIBRARY(table, index, ...)                                        \
  {[](platform::ModuleHandle module) {                                       \
     return BindTable<EntryTable<index>>(table, table##Slots, module);      \
   },                                                                       \
   [] { table = {}; },                                                      \
   [] { return table == EntryTable<index>{}; },                             \
   [] { return VersionOf(table); }},
const TableOperations kTables[] = {
#include "FFLoad/Libraries.inc"
};
static_assert(std::size(kTables) == LibraryCount);

}  // namespace

std::optional<TMissingEntry> BindEntries(int index, platform::ModuleHandle module) {
  return kTables[index].bind(module);
}

void UnbindEntries(int index) { kTables[index].unbind(); }

bool EntriesEmpty(int index) { return kTables[index].empty(); }

unsigned RunningVersion(int index) { return kTables[index].version(); }

std::int64_t IOPosition(AVIOContext* context) { return avformat.avio_seek(context, 0, SEEK_CUR); }

}  // namespace ff
