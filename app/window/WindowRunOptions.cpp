#include "window/WindowRunOptions.h"

#include <algorithm>
#include <optional>
#include <thread>

TRunOptions WindowRunOptions(const TNamingChoice& naming, std::string journalPath) {
  QString problem;
  std::optional<TRunOptions> chosen = ChoiceRunOptions(naming, problem);
  if (!chosen) {
    TNamingChoice asStored = naming;
    asStored.Format.clear();
    asStored.Zone = TNamingChoice::TZone::AsStored;
    asStored.AssumeZone.clear();
    chosen = ChoiceRunOptions(asStored, problem);
  }
  TRunOptions options = chosen.value_or(TRunOptions{});
  options.Lookup.Path = TLookupPath::HeaderFirst;
  options.Workers = std::max(2u, std::thread::hardware_concurrency());
  options.JournalPath = std::move(journalPath);
  return options;
}
