#include "WorkflowFixture.h"

#include <fstream>

bool ReadsWithoutPermission(const TempFolder& folder) {
  const auto probe = folder.WriteFile(".permission-probe", "x");
  std::filesystem::permissions(probe, std::filesystem::perms::none);
  const bool readable = std::ifstream(probe).is_open();
  std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
  std::filesystem::remove(probe);
  return readable;
}
