#include "platform/VersionResource.h"

#include <elf.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/RawFile.h"

namespace platform {
namespace {

// ---------------------------------------------------------------------------------------
// Reading the file. Every offset and size below comes from the file itself, so every read
// is checked against the file's size before it is made.

class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::u16string& path) : handle_(OpenRawFile(path, FileAccess::Read)) {
    if (handle_ != InvalidFileHandle) {
      std::int64_t size = RawFileSize(handle_);
      size_ = size < 0 ? 0 : static_cast<std::uint64_t>(size);
    }
  }
  ~ReadOnlyFile() {
    if (handle_ != InvalidFileHandle) CloseRawFile(handle_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Reads exactly `count` bytes at `offset`; false when they do not all lie in the file.
  bool ReadAt(std::uint64_t offset, void* out, std::uint64_t count) {
    if (handle_ == InvalidFileHandle || offset > size_ || count > size_ - offset) return false;
    if (SeekRawFile(handle_, static_cast<std::int64_t>(offset), 0) < 0) return false;
    auto* bytes = static_cast<unsigned char*>(out);
    while (count > 0) {
      std::int64_t got = ReadRawFile(handle_, bytes, static_cast<std::int64_t>(count));
      if (got <= 0) return false;
      bytes += got;
      count -= static_cast<std::uint64_t>(got);
    }
    return true;
  }

  bool Contains(std::uint64_t offset, std::uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }

 private:
  FileHandle handle_;
  std::uint64_t size_ = 0;
};

// ---------------------------------------------------------------------------------------
// ELF headers, 32- or 64-bit, either byte order.

class ElfFields {
 public:
  ElfFields(bool is64, bool littleEndian) : is64_(is64), little_(littleEndian) {}

  bool is64() const { return is64_; }

  std::uint64_t Read(const unsigned char* at, std::size_t width) const {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      std::size_t shift = little_ ? i : width - 1 - i;
      value |= static_cast<std::uint64_t>(at[i]) << (8 * shift);
    }
    return value;
  }

 private:
  bool is64_;
  bool little_;
};

#define MORVANE_ELF_FIELD(fields, bytes, Struct32, Struct64, member)                       \
  ((fields).is64()                                                                        \
       ? (fields).Read((bytes) + offsetof(Struct64, member), sizeof(Struct64::member))   \
       : (fields).Read((bytes) + offsetof(Struct32, member), sizeof(Struct32::member)))

struct SectionHeader {
  std::uint64_t name = 0;
  std::uint64_t type = 0;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint64_t link = 0;
};

struct FileRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

class ElfSections {
 public:
  ElfSections(ReadOnlyFile& file, const ElfFields& fields) : file_(file), fields_(fields) {}

  bool ReadHeader() {
    unsigned char header[sizeof(Elf64_Ehdr)];
    const std::size_t headerSize = fields_.is64() ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr);
    if (!file_.ReadAt(0, header, headerSize)) return false;
    tableOffset_ = MORVANE_ELF_FIELD(fields_, header, Elf32_Ehdr, Elf64_Ehdr, e_shoff);
    entrySize_ = MORVANE_ELF_FIELD(fields_, header, Elf32_Ehdr, Elf64_Ehdr, e_shentsize);
    count_ = MORVANE_ELF_FIELD(fields_, header, Elf32_Ehdr, Elf64_Ehdr, e_shnum);
    namesIndex_ = MORVANE_ELF_FIELD(fields_, header, Elf32_Ehdr, Elf64_Ehdr, e_shstrndx);
    const std::size_t minEntry = fields_.is64() ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
    if (tableOffset_ == 0 || entrySize_ < minEntry) return false;
    // Files with very many sections keep the real count and name index in section 0.
    if (count_ == 0 || namesIndex_ == SHN_XINDEX) {
      SectionHeader first;
      if (!ReadSection(0, first)) return false;
      if (count_ == 0) count_ = first.size;
      if (namesIndex_ == SHN_XINDEX) namesIndex_ = first.link;
    }
    return count_ > 0 && namesIndex_ < count_;
  }

  std::optional<FileRange> Find(std::string_view wanted) {
    SectionHeader names;
    if (!ReadSection(namesIndex_, names) || names.type == SHT_NOBITS ||
        !file_.Contains(names.offset, names.size))
      return std::nullopt;
    for (std::uint64_t i = 0; i < count_; ++i) {
      SectionHeader section;
      if (!ReadSection(i, section)) return std::nullopt;
      if (!NameIs(names, section.name, wanted)) continue;
      if (section.type == SHT_NOBITS || !file_.Contains(section.offset, section.size))
        return std::nullopt;
      return FileRange{section.offset, section.size};
    }
    return std::nullopt;
  }

 private:
  bool ReadSection(std::uint64_t index, SectionHeader& out) {
    if (index > (UINT64_MAX - tableOffset_) / entrySize_) return false;
    unsigned char bytes[sizeof(Elf64_Shdr)];
    const std::size_t size = fields_.is64() ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
    if (!file_.ReadAt(tableOffset_ + index * entrySize_, bytes, size)) return false;
    out.name = MORVANE_ELF_FIELD(fields_, bytes, Elf32_Shdr, Elf64_Shdr, sh_name);
    out.type = MORVANE_ELF_FIELD(fields_, bytes, Elf32_Shdr, Elf64_Shdr, sh_type);
    out.offset = MORVANE_ELF_FIELD(fields_, bytes, Elf32_Shdr, Elf64_Shdr, sh_offset);
    out.size = MORVANE_ELF_FIELD(fields_, bytes, Elf32_Shdr, Elf64_Shdr, sh_size);
    out.link = MORVANE_ELF_FIELD(fields_, bytes, Elf32_Shdr, Elf64_Shdr, sh_link);
    return true;
  }

  // The name with its terminating zero must lie inside the name table.
  bool NameIs(const SectionHeader& names, std::uint64_t nameOffset, std::string_view wanted) {
    const std::uint64_t length = wanted.size() + 1;
    if (nameOffset > names.size || length > names.size - nameOffset) return false;
    char candidate[64];
    if (length > sizeof candidate) return false;
    if (!file_.ReadAt(names.offset + nameOffset, candidate, length)) return false;
    return candidate[wanted.size()] == '\0' &&
           std::memcmp(candidate, wanted.data(), wanted.size()) == 0;
  }

  ReadOnlyFile& file_;
  const ElfFields& fields_;
  std::uint64_t tableOffset_ = 0;
  std::uint64_t entrySize_ = 0;
  std::uint64_t count_ = 0;
  std::uint64_t namesIndex_ = 0;
};

#undef MORVANE_ELF_FIELD

std::optional<FileRange> FindElfSection(ReadOnlyFile& file, std::string_view name) {
  unsigned char ident[EI_NIDENT];
  if (!file.ReadAt(0, ident, sizeof ident)) return std::nullopt;
  if (std::memcmp(ident, ELFMAG, SELFMAG) != 0) return std::nullopt;
  const unsigned char elfClass = ident[EI_CLASS];
  const unsigned char data = ident[EI_DATA];
  if ((elfClass != ELFCLASS32 && elfClass != ELFCLASS64) ||
      (data != ELFDATA2LSB && data != ELFDATA2MSB))
    return std::nullopt;
  ElfFields fields(elfClass == ELFCLASS64, data == ELFDATA2LSB);
  ElfSections sections(file, fields);
  if (!sections.ReadHeader()) return std::nullopt;
  return sections.Find(name);
}

// ---------------------------------------------------------------------------------------
// The block: nodes of { u16 length, u16 valueLength, u16 type, UTF-16 key with its zero,
// padding to 32 bits, value, padding, children }, always little-endian. Offsets are taken
// from the start of the block, which is where the alignment counts from.

constexpr std::size_t kNodeHeaderSize = 6;
constexpr std::uint16_t kTextValue = 1;

std::uint16_t U16At(const unsigned char* block, std::size_t offset) {
  return static_cast<std::uint16_t>(block[offset] | (block[offset + 1] << 8));
}

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

struct Node {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::uint16_t valueLength = 0;
  std::uint16_t type = 0;
  std::size_t keyBegin = 0;
  std::size_t keyUnits = 0;
  std::size_t valueBegin = 0;
  std::size_t valueBytes = 0;
  std::size_t childrenBegin = 0;
};

// Parses the node at `begin`; it and everything it names must end by `limit`.
bool ParseNode(const unsigned char* block, std::size_t begin, std::size_t limit, Node& node) {
  if (begin > limit || limit - begin < kNodeHeaderSize) return false;
  const std::size_t length = U16At(block, begin);
  if (length < kNodeHeaderSize || length > limit - begin) return false;
  node.begin = begin;
  node.end = begin + length;
  node.valueLength = U16At(block, begin + 2);
  node.type = U16At(block, begin + 4);
  node.keyBegin = begin + kNodeHeaderSize;
  std::size_t at = node.keyBegin;
  while (true) {
    if (node.end - at < 2) return false;
    if (U16At(block, at) == 0) break;
    at += 2;
  }
  node.keyUnits = (at - node.keyBegin) / 2;
  node.valueBegin = Align4(at + 2);
  node.valueBytes = node.type == kTextValue ? std::size_t{node.valueLength} * 2 : node.valueLength;
  if (node.valueBytes > 0 &&
      (node.valueBegin > node.end || node.valueBytes > node.end - node.valueBegin))
    return false;
  node.childrenBegin = Align4(node.valueBegin + node.valueBytes);
  return true;
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool KeyIs(const unsigned char* block, const Node& node, std::u16string_view wanted) {
  if (node.keyUnits != wanted.size()) return false;
  for (std::size_t i = 0; i < wanted.size(); ++i)
    if (AsciiLower(U16At(block, node.keyBegin + 2 * i)) != AsciiLower(wanted[i])) return false;
  return true;
}

bool FindChild(const unsigned char* block, const Node& parent, std::u16string_view key,
               Node& child) {
  std::size_t at = parent.childrenBegin;
  while (at < parent.end && parent.end - at >= kNodeHeaderSize) {
    if (!ParseNode(block, at, parent.end, child)) return false;
    if (KeyIs(block, child, key)) return true;
    at = Align4(child.end);
  }
  return false;
}

constexpr char16_t kRootKey[] = u"VS_VERSION_INFO";

// The block's own length when the bytes at `range` begin with a well-formed root node.
std::uint32_t BlockLength(ReadOnlyFile& file, const FileRange& range) {
  constexpr std::size_t kRootHead = kNodeHeaderSize + sizeof kRootKey;
  if (range.size < kRootHead) return 0;
  unsigned char head[kRootHead];
  if (!file.ReadAt(range.offset, head, sizeof head)) return 0;
  const std::uint16_t length = U16At(head, 0);
  if (length < kRootHead || length > range.size) return 0;
  for (std::size_t i = 0; i < std::size(kRootKey); ++i)
    if (U16At(head, kNodeHeaderSize + 2 * i) != kRootKey[i]) return 0;
  return length;
}

std::optional<FileRange> LocateBlock(ReadOnlyFile& file) {
  std::optional<FileRange> section = FindElfSection(file, VersionSectionName);
  if (!section) return std::nullopt;
  std::uint32_t length = BlockLength(file, *section);
  if (length == 0) return std::nullopt;
  return FileRange{section->offset, length};
}

}  // namespace

std::uint32_t GetFileVersionInfoSize(const std::u16string& fileName) {
  ReadOnlyFile file(fileName);
  std::optional<FileRange> block = LocateBlock(file);
  return block ? static_cast<std::uint32_t>(block->size) : 0;
}

bool GetFileVersionInfo(const std::u16string& fileName, std::uint32_t size, void* data) {
  if (size == 0 || data == nullptr) return false;
  ReadOnlyFile file(fileName);
  std::optional<FileRange> block = LocateBlock(file);
  if (!block) return false;
  return file.ReadAt(block->offset, data, block->size < size ? block->size : size);
}

bool VerQueryValue(const void* block, std::uint32_t blockSize, const std::u16string& subBlock,
                   const void*& value, std::uint32_t& length) {
  value = nullptr;
  length = 0;
  if (block == nullptr) return false;
  const auto* bytes = static_cast<const unsigned char*>(block);
  Node node;
  if (!ParseNode(bytes, 0, blockSize, node)) return false;
  bool atRoot = true;
  std::u16string_view path(subBlock);
  while (!path.empty()) {
    std::size_t split = path.find(u'\\');
    std::u16string_view key = path.substr(0, split);
    path = split == std::u16string_view::npos ? std::u16string_view() : path.substr(split + 1);
    if (key.empty()) continue;
    Node child;
    if (!FindChild(bytes, node, key, child)) return false;
    node = child;
    atRoot = false;
  }
  // "" asks for the fixed part, which a block may lack.
  if (atRoot && node.valueBytes == 0) return false;
  value = bytes + (node.valueBytes > 0 ? node.valueBegin : node.end);
  length = node.type == kTextValue ? node.valueLength : static_cast<std::uint32_t>(node.valueBytes);
  return true;
}

}  // namespace platform
