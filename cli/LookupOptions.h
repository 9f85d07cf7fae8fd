// The options of list, rename and copy that choose how creation times are read: the
// number of worker threads and the full lookup instead of the header-first one.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "workflow/LookupPath.h"

struct TLookupOptions {
  TLookupPath Path = TLookupPath::HeaderFirst;
  unsigned Jobs = 0;  // 0: one per processor
};

enum class TOptionMatch { NotThisOption, Taken, Invalid };

// Looks at arguments[index]: "-j N", "-jN", "--jobs N", "--jobs=N" or "--full-probe".
// Taken: the option is stored and `index` moved to its last argument. Invalid: `error`
// says what is wrong.
TOptionMatch TakeLookupOption(const std::vector<std::string>& arguments, std::size_t& index, TLookupOptions& options,
                              std::string& error);

// The number of worker threads the options ask for: Jobs, or one per processor.
unsigned WorkerCount(const TLookupOptions& options);
