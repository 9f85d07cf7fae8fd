// How the platform names a versioned shared library.
#pragma once
#include <string>

namespace platform {

// "lib" + base + ".so." + version on POSIX.
std::u16string VersionedLibraryFileName(const std::u16string& baseName, int version);

}  // namespace platform
