#include "about/VersionBlockBuilder.h"

#include <stdexcept>

namespace {

constexpr std::uint16_t kBinaryValue = 0;
constexpr std::uint16_t kTextValue = 1;

struct BlockNode {
  std::u16string key;
  std::uint16_t type = kTextValue;
  // Binary values count bytes, text values count UTF-16 units including the final zero.
  std::uint16_t valueLength = 0;
  std::vector<unsigned char> value;
  std::vector<BlockNode> children;
};

void PutU16(std::vector<unsigned char>& out, std::uint16_t v) {
  out.push_back(static_cast<unsigned char>(v & 0xFF));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t v) {
  PutU16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  PutU16(out, static_cast<std::uint16_t>(v >> 16));
}

void PadTo4(std::vector<unsigned char>& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

std::uint16_t Checked16(std::size_t n) {
  if (n > 0xFFFF) throw std::length_error("version block entry longer than 65535 bytes");
  return static_cast<std::uint16_t>(n);
}

// A node starts on a 32-bit boundary of the block, so padding counted from the node's own
// start lands on the block's boundaries. The length leaves out padding after the last part.
std::vector<unsigned char> Serialize(const BlockNode& node) {
  std::vector<unsigned char> out;
  PutU16(out, 0);
  PutU16(out, node.valueLength);
  PutU16(out, node.type);
  for (char16_t c : node.key) PutU16(out, static_cast<std::uint16_t>(c));
  PutU16(out, 0);
  PadTo4(out);
  out.insert(out.end(), node.value.begin(), node.value.end());
  for (const BlockNode& child : node.children) {
    PadTo4(out);
    std::vector<unsigned char> bytes = Serialize(child);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  std::uint16_t length = Checked16(out.size());
  out[0] = static_cast<unsigned char>(length & 0xFF);
  out[1] = static_cast<unsigned char>(length >> 8);
  return out;
}

std::uint32_t High(const VersionBlockContent::FourPart& v) {
  return static_cast<std::uint32_t>(v[0]) << 16 | v[1];
}
std::uint32_t Low(const VersionBlockContent::FourPart& v) {
  return static_cast<std::uint32_t>(v[2]) << 16 | v[3];
}

BlockNode FixedPart(const VersionBlockContent& content) {
  BlockNode root{u"VS_VERSION_INFO", kBinaryValue, 0, {}, {}};
  std::vector<unsigned char>& v = root.value;
  PutU32(v, 0xFEEF04BD);  // signature
  PutU32(v, 0x00010000);  // structure version 1.0
  PutU32(v, High(content.fileVersion));
  PutU32(v, Low(content.fileVersion));
  PutU32(v, High(content.productVersion));
  PutU32(v, Low(content.productVersion));
  PutU32(v, 0x3F);        // flags mask
  PutU32(v, 0);           // flags
  PutU32(v, 0x00040004);  // operating system: 32-bit Windows NT
  PutU32(v, 0x1);         // file type: application
  PutU32(v, 0);           // subtype
  PutU32(v, 0);           // date, high
  PutU32(v, 0);           // date, low
  root.valueLength = Checked16(v.size());
  return root;
}

char16_t HexDigit(unsigned v) { return static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + v - 10); }

std::u16string TableKey(std::uint16_t language, std::uint16_t codePage) {
  std::uint32_t both = static_cast<std::uint32_t>(language) << 16 | codePage;
  std::u16string key;
  for (int shift = 28; shift >= 0; shift -= 4) key += HexDigit((both >> shift) & 0xF);
  return key;
}

BlockNode StringEntry(const std::u16string& name, const std::u16string& text) {
  BlockNode node{name, kTextValue, Checked16(text.size() + 1), {}, {}};
  for (char16_t c : text) PutU16(node.value, static_cast<std::uint16_t>(c));
  PutU16(node.value, 0);
  return node;
}

}  // namespace

VersionBlockContent StandardVersionContent(const std::u16string& fileVersion,
                                           const std::u16string& productVersion,
                                           const VersionBlockContent::FourPart& fixed) {
  VersionBlockContent content;
  content.fileVersion = fixed;
  content.productVersion = fixed;
  content.strings = {
      {u"CompanyName", u""},     {u"FileDescription", u""},
      {u"FileVersion", fileVersion}, {u"InternalName", u""},
      {u"LegalCopyright", u""},  {u"LegalTrademarks", u""},
      {u"OriginalFilename", u""}, {u"ProductName", u""},
      {u"ProductVersion", productVersion}, {u"Comments", u""},
  };
  return content;
}

std::vector<unsigned char> BuildVersionBlock(const VersionBlockContent& content) {
  BlockNode table{TableKey(content.language, content.codePage), kTextValue, 0, {}, {}};
  for (const auto& [name, text] : content.strings) table.children.push_back(StringEntry(name, text));
  BlockNode stringInfo{u"StringFileInfo", kTextValue, 0, {}, {std::move(table)}};

  BlockNode root = content.hasFixedPart ? FixedPart(content)
                                        : BlockNode{u"VS_VERSION_INFO", kBinaryValue, 0, {}, {}};
  root.children.push_back(std::move(stringInfo));
  if (content.hasTranslation) {
    BlockNode translation{u"Translation", kBinaryValue, 4, {}, {}};
    PutU16(translation.value, content.language);
    PutU16(translation.value, content.codePage);
    root.children.push_back(BlockNode{u"VarFileInfo", kTextValue, 0, {}, {std::move(translation)}});
  }
  return Serialize(root);
}
