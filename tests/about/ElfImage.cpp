#include "about/ElfImage.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace {

struct Field {
  std::size_t offset;
  std::size_t width;
};

// Offsets and widths of the ELF file format, 32-bit then 64-bit.
Field HeaderField(const std::string& name, bool is64) {
  if (name == "e_shoff") return is64 ? Field{40, 8} : Field{32, 4};
  if (name == "e_shentsize") return is64 ? Field{58, 2} : Field{46, 2};
  if (name == "e_shnum") return is64 ? Field{60, 2} : Field{48, 2};
  if (name == "e_shstrndx") return is64 ? Field{62, 2} : Field{50, 2};
  throw std::invalid_argument("unknown ELF header field " + name);
}

Field SectionField(const std::string& name, bool is64) {
  if (name == "sh_name") return {0, 4};
  if (name == "sh_type") return {4, 4};
  if (name == "sh_offset") return is64 ? Field{24, 8} : Field{16, 4};
  if (name == "sh_size") return is64 ? Field{32, 8} : Field{20, 4};
  if (name == "sh_link") return is64 ? Field{40, 4} : Field{24, 4};
  throw std::invalid_argument("unknown ELF section field " + name);
}

std::size_t HeaderSize(bool is64) { return is64 ? 64 : 52; }
std::size_t SectionEntrySize(bool is64) { return is64 ? 64 : 40; }

void Put(std::vector<unsigned char>& bytes, Field field, std::uint64_t value, bool little) {
  for (std::size_t i = 0; i < field.width; ++i) {
    std::size_t shift = little ? i : field.width - 1 - i;
    bytes.at(field.offset + i) = static_cast<unsigned char>(value >> (8 * shift));
  }
}

std::uint64_t Get(const std::vector<unsigned char>& bytes, Field field, bool little) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < field.width; ++i) {
    std::size_t shift = little ? i : field.width - 1 - i;
    value |= static_cast<std::uint64_t>(bytes.at(field.offset + i)) << (8 * shift);
  }
  return value;
}

Field At(Field field, std::size_t base) { return {base + field.offset, field.width}; }

}  // namespace

std::size_t ElfImage::SectionCount() const {
  return static_cast<std::size_t>(Header("e_shnum"));
}

std::uint64_t ElfImage::Header(const std::string& field) const {
  return Get(bytes, HeaderField(field, is64), littleEndian);
}

void ElfImage::SetHeader(const std::string& field, std::uint64_t value) {
  Put(bytes, HeaderField(field, is64), value, littleEndian);
}

std::uint64_t ElfImage::Section(std::size_t index, const std::string& field) const {
  const std::size_t base = static_cast<std::size_t>(Header("e_shoff")) + index * SectionEntrySize(is64);
  return Get(bytes, At(SectionField(field, is64), base), littleEndian);
}

void ElfImage::SetSection(std::size_t index, const std::string& field, std::uint64_t value) {
  const std::size_t base = static_cast<std::size_t>(Header("e_shoff")) + index * SectionEntrySize(is64);
  Put(bytes, At(SectionField(field, is64), base), value, littleEndian);
}

ElfImage MakeElfImage(const ElfSpec& spec) {
  ElfImage image;
  image.is64 = spec.is64;
  image.littleEndian = spec.littleEndian;
  std::vector<unsigned char>& bytes = image.bytes;
  bytes.assign(HeaderSize(spec.is64), 0);
  const unsigned char ident[] = {0x7F, 'E', 'L', 'F', static_cast<unsigned char>(spec.is64 ? 2 : 1),
                                 static_cast<unsigned char>(spec.littleEndian ? 1 : 2), 1};
  std::copy(std::begin(ident), std::end(ident), bytes.begin());

  struct Placed {
    std::uint64_t name, type, offset, size;
  };
  std::vector<Placed> placed{{0, 0, 0, 0}};
  std::string names(1, '\0');
  auto place = [&](const std::string& name, const std::vector<unsigned char>& data, std::uint64_t type) {
    while (bytes.size() % 8 != 0) bytes.push_back(0);
    placed.push_back({names.size(), type, bytes.size(), data.size()});
    names += name;
    names += '\0';
    bytes.insert(bytes.end(), data.begin(), data.end());
  };
  for (const auto& [name, data] : spec.sections) place(name, data, 1 /* SHT_PROGBITS */);
  std::vector<unsigned char> nameTable(names.begin(), names.end());
  nameTable.insert(nameTable.end(), {'.', 's', 'h', 's', 't', 'r', 't', 'a', 'b', '\0'});
  place(".shstrtab", nameTable, 3 /* SHT_STRTAB */);

  while (bytes.size() % 8 != 0) bytes.push_back(0);
  const std::size_t tableOffset = bytes.size();
  bytes.resize(tableOffset + placed.size() * SectionEntrySize(spec.is64), 0);
  image.SetHeader("e_shoff", tableOffset);
  image.SetHeader("e_shentsize", SectionEntrySize(spec.is64));
  image.SetHeader("e_shnum", placed.size());
  image.SetHeader("e_shstrndx", placed.size() - 1);
  for (std::size_t i = 1; i < placed.size(); ++i) {
    image.SetSection(i, "sh_name", placed[i].name);
    image.SetSection(i, "sh_type", placed[i].type);
    image.SetSection(i, "sh_offset", placed[i].offset);
    image.SetSection(i, "sh_size", placed[i].size);
  }
  return image;
}
