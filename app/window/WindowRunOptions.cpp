#include "window/WindowRunOptions.h"

#include <algorithm>
#include <thread>

TRunOptions WindowRunOptions(const TNamingChoice& naming, std::string journalPath) {
  TRunOptions options;
  options.Lookup.Path = TLookupPath::HeaderFirst;
  options.Workers = std::max(2u, std::thread::hardware_concurrency());
  QString problem;
  options.Plan = PlanOptionsOf(naming, problem).value_or(TPlanOptions{});
  options.UniqueNames = naming.UniqueNames;
  options.CopyReplaces = naming.CopyReplaces;
  options.JournalPath = std::move(journalPath);
  return options;
}
