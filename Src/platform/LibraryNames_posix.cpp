#include "platform/LibraryNames.h"

#include "platform/Text.h"

namespace platform {

std::u16string VersionedLibraryFileName(const std::u16string& baseName, int version) {
  return u"lib" + baseName + u".so." + NarrowToWide(std::to_string(version));
}

}  // namespace platform
