// Small ELF files written byte by byte, for tests of the version section reader: 32- or
// 64-bit, either byte order, with the named sections given. The layout is spelled out here
// on its own so that the tests do not share the reader's view of it.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ElfSpec {
  bool is64 = true;
  bool littleEndian = true;
  std::vector<std::pair<std::string, std::vector<unsigned char>>> sections;
};

// Section 0 is the null section, then the sections of the image in order, then the name
// table; the section header table comes last in the file.
struct ElfImage {
  bool is64 = true;
  bool littleEndian = true;
  std::vector<unsigned char> bytes;

  std::size_t SectionCount() const;  // including the null section and the name table
  // Header fields, by name: "e_shoff", "e_shentsize", "e_shnum", "e_shstrndx".
  std::uint64_t Header(const std::string& field) const;
  void SetHeader(const std::string& field, std::uint64_t value);
  // Section header fields: "sh_name", "sh_type", "sh_offset", "sh_size", "sh_link".
  std::uint64_t Section(std::size_t index, const std::string& field) const;
  void SetSection(std::size_t index, const std::string& field, std::uint64_t value);
};

ElfImage MakeElfImage(const ElfSpec& spec);

inline constexpr std::uint64_t ElfSectionNoBits = 8;  // SHT_NOBITS: no bytes in the file
