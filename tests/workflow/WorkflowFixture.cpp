#include "workflow/WorkflowFixture.h"

#include <fstream>

bool ReachableUnprivileged(const TempFolder& folder) {
  const auto probe = folder.WriteFile(".reach-probe", "x");
  const auto seen = RunUnprivileged([&] { return ReadWholeFile(probe); });
  std::filesystem::remove(probe);
  return seen == "x";
}
