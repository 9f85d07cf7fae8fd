// The version block that an executable carries about itself: the three queries of the
// Windows version functions. The block has the VS_VERSIONINFO layout on every platform; on
// POSIX systems it lives in the ELF section VersionSectionName of the file.
#pragma once
#include <cstdint>
#include <string>

namespace versionresource {

inline constexpr const char* VersionSectionName = ".morvane_version";

// Size in bytes of the named file's version block; 0 when the file has none, cannot be
// read, is not an executable of the platform's format or carries a malformed block.
std::uint32_t GetFileVersionInfoSize(const std::string& fileName);

// Copies the version block into `data`, which holds `size` bytes (the size that
// GetFileVersionInfoSize gave). A smaller buffer gets the block's first `size` bytes.
bool GetFileVersionInfo(const std::string& fileName, std::uint32_t size, void* data);

// Looks a value up in a block that GetFileVersionInfo filled (`blockSize` bytes; nothing
// outside them is read). `subBlock` is one of
//   "\"                                  the fixed part (VS_FIXEDFILEINFO, in bytes)
//   "\VarFileInfo\Translation"           language and code page pairs (in bytes)
//   "\StringFileInfo\041203B5\FileVersion" a text value, UTF-16 with its terminating zero
// Keys compare without regard to ASCII letter case. On success `value` points into the
// block and `length` is the value's size: in UTF-16 units for text values, in bytes for
// the others. Fails when the path names no entry.
bool VerQueryValue(const void* block, std::uint32_t blockSize, const std::u16string& subBlock,
                   const void*& value, std::uint32_t& length);

}  // namespace versionresource
