// Builds a version block in the VS_VERSIONINFO layout: the fixed part, one string table and
// one translation. The build embeds the result into an executable; tests build odd blocks.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct VersionBlockContent {
  using FourPart = std::array<std::uint16_t, 4>;  // most significant part first: 1.2.3.4

  std::uint16_t language = 0x0412;
  std::uint16_t codePage = 0x03B5;
  FourPart fileVersion{};
  FourPart productVersion{};
  bool hasFixedPart = true;
  bool hasTranslation = true;  // without it, VarFileInfo is left out
  // Name and value of each string, in the order written.
  std::vector<std::pair<std::u16string, std::u16string>> strings;
};

// The standard string names, all empty but "FileVersion" and "ProductVersion"; the fixed
// part carries `fixed` as both file and product version.
VersionBlockContent StandardVersionContent(const std::u16string& fileVersion,
                                           const std::u16string& productVersion,
                                           const VersionBlockContent::FourPart& fixed);

// Throws std::length_error when the block would not fit its 16-bit length fields.
std::vector<unsigned char> BuildVersionBlock(const VersionBlockContent& content);
