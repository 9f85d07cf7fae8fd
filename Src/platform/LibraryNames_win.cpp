#include "platform/LibraryNames.h"

#include "platform/Text.h"

namespace platform {

std::u16string VersionedLibraryFileName(const std::u16string& baseName, int version) {
  return baseName + u"-" + NarrowToWide(std::to_string(version)) + u".dll";
}

}  // namespace platform
