// How the platform names a versioned shared library.
#pragma once
#include <string>

namespace platform {

// "lib" + base + ".so." + version on POSIX, base + "-" + version + ".dll" on Windows.
std::u16string VersionedLibraryFileName(const std::u16string& baseName, int version);

// The files of the libraries whose names carry no version of ours.
#ifdef _WIN32
inline constexpr const char16_t* CRuntimeFileName = u"msvcrt.dll";
inline constexpr const char16_t* SoundTouchFileName = u"SoundTouch.dll";
#else
inline constexpr const char16_t* CRuntimeFileName = u"libc.so.6";
inline constexpr const char16_t* SoundTouchFileName = u"libSoundTouchDll.so.1";
#endif

}  // namespace platform
