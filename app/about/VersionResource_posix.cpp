#include "about/VersionResource.h"

#include <gelf.h>
#include <libelf.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/RawFile.h"

namespace versionresource {
namespace {

// ---------------------------------------------------------------------------------------
// Reading the file. Every offset and size below comes from the file itself, so every read
// is checked against the file's size before it is made.

class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path) : handle_(platform::OpenRawFile(path, platform::FileAccess::Read)) {
    if (handle_ != platform::InvalidFileHandle) {
      std::int64_t size = platform::RawFileSize(handle_);
      size_ = size < 0 ? 0 : static_cast<std::uint64_t>(size);
    }
  }
  ~ReadOnlyFile() {
    if (handle_ != platform::InvalidFileHandle) platform::CloseRawFile(handle_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Reads exactly `count` bytes at `offset`; false when they do not all lie in the file.
  bool ReadAt(std::uint64_t offset, void* out, std::uint64_t count) {
    if (handle_ == platform::InvalidFileHandle || offset > size_ || count > size_ - offset) return false;
    if (platform::SeekRawFile(handle_, static_cast<std::int64_t>(offset), 0) < 0) return false;
    auto* bytes = static_cast<unsigned char*>(out);
    while (count > 0) {
      std::int64_t got = platform::ReadRawFile(handle_, bytes, static_cast<std::int64_t>(count));
      if (got <= 0) return false;
      bytes += got;
      count -= static_cast<std::uint64_t>(got);
    }
    return true;
  }

  platform::FileHandle Handle() const { return handle_; }

  bool Contains(std::uint64_t offset, std::uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }

 private:
  platform::FileHandle handle_;
  std::uint64_t size_ = 0;
};

// ---------------------------------------------------------------------------------------
// The ELF section, found by libelf (32- or 64-bit, either byte order, extended section
// counts). A section's range is still checked against the file before it is read.

struct FileRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

struct ElfReleaser {
  void operator()(Elf* elf) const { elf_end(elf); }
};

std::optional<FileRange> FindElfSection(ReadOnlyFile& file, std::string_view name) {
  if (elf_version(EV_CURRENT) == EV_NONE) return std::nullopt;
  const std::unique_ptr<Elf, ElfReleaser> elf(elf_begin(file.Handle(), ELF_C_READ, nullptr));
  std::size_t namesIndex = 0;
  GElf_Ehdr fileHeader;
  if (!elf || elf_kind(elf.get()) != ELF_K_ELF || !gelf_getehdr(elf.get(), &fileHeader) ||
      elf_getshdrstrndx(elf.get(), &namesIndex) != 0)
    return std::nullopt;
  // libelf reads section headers at their standard size whatever the file says; a file
  // that says otherwise is damaged.
  if (fileHeader.e_shentsize != gelf_fsize(elf.get(), ELF_T_SHDR, 1, EV_CURRENT)) return std::nullopt;
  for (Elf_Scn* section = elf_nextscn(elf.get(), nullptr); section; section = elf_nextscn(elf.get(), section)) {
    GElf_Shdr header;
    if (!gelf_getshdr(section, &header)) return std::nullopt;
    const char* sectionName = elf_strptr(elf.get(), namesIndex, header.sh_name);
    if (!sectionName || name != sectionName) continue;
    if (header.sh_type == SHT_NOBITS || !file.Contains(header.sh_offset, header.sh_size)) return std::nullopt;
    return FileRange{header.sh_offset, header.sh_size};
  }
  return std::nullopt;
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

std::uint32_t GetFileVersionInfoSize(const std::string& fileName) {
  ReadOnlyFile file(fileName);
  std::optional<FileRange> block = LocateBlock(file);
  return block ? static_cast<std::uint32_t>(block->size) : 0;
}

bool GetFileVersionInfo(const std::string& fileName, std::uint32_t size, void* data) {
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

}  // namespace versionresource
