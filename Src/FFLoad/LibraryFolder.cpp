#include "FFLoad/LibraryFolder.h"

#include "Paths/PathHelpers.h"

std::u16string DefaultLibraryFolder() {
  const std::u16string exeFolder = GetExeFolder();
  if (exeFolder.empty()) return {};
  return IncludeTrailingBackslashW(ExpandFileNameW(exeFolder + u"LibAV"));
}
