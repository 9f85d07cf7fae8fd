// The version reader's queries: finding the version section in ELF files of every
// layout, refusing damaged and hostile files, and looking values up in a block without
// reading outside it.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "about/ElfImage.h"
#include "about/VersionBlockBuilder.h"
#include "about/VersionResource.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace {

const std::string kSection = versionresource::VersionSectionName;

std::vector<unsigned char> StandardBlock() {
  return BuildVersionBlock(StandardVersionContent(u"0.0.0.2", u"1.0.0.0", {0, 0, 0, 2}));
}

std::string WriteBytes(const TempFolder& folder, const std::string& name, const std::vector<unsigned char>& bytes) {
  return Utf8(folder.WriteFile(name, std::string(bytes.begin(), bytes.end())));
}

std::vector<unsigned char> ReadBlock(const std::string& file) {
  std::uint32_t size = versionresource::GetFileVersionInfoSize(file);
  if (size == 0) return {};
  std::vector<unsigned char> block(size);
  if (!versionresource::GetFileVersionInfo(file, size, block.data())) return {};
  return block;
}

std::u16string QueryText(const std::vector<unsigned char>& block, const std::u16string& path) {
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (!versionresource::VerQueryValue(block.data(), static_cast<std::uint32_t>(block.size()), path, value, length))
    return u"<none>";
  std::u16string text;
  const auto* bytes = static_cast<const unsigned char*>(value);
  for (std::uint32_t i = 0; i < length; ++i) text += static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return text;
}

std::uint32_t U32(const void* at, std::size_t offset) {
  const auto* b = static_cast<const unsigned char*>(at) + offset;
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// --- the real program --------------------------------------------------------------------

TEST(VersionResourceProgram, CarriesTheStandardBlock) {
  const std::vector<unsigned char> block = ReadBlock(MORVANE_EXE);
  ASSERT_FALSE(block.empty());
  EXPECT_EQ(block, StandardBlock());

  const void* value = nullptr;
  std::uint32_t length = 0;
  ASSERT_TRUE(versionresource::VerQueryValue(block.data(), block.size(), u"\\", value, length));
  ASSERT_EQ(length, 52u);
  EXPECT_EQ(U32(value, 0), 0xFEEF04BDu);
  EXPECT_EQ(U32(value, 8), 0x00000000u);   // file version 0.0 ...
  EXPECT_EQ(U32(value, 12), 0x00000002u);  // ... 0.2
  EXPECT_EQ(U32(value, 16), 0x00000000u);  // product version, likewise
  EXPECT_EQ(U32(value, 20), 0x00000002u);

  ASSERT_TRUE(versionresource::VerQueryValue(block.data(), block.size(), u"\\VarFileInfo\\Translation", value, length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(U32(value, 0), 0x03B50412u);

  EXPECT_EQ(QueryText(block, u"\\StringFileInfo\\041203B5\\FileVersion"), std::u16string(u"0.0.0.2\0", 8));
  EXPECT_EQ(QueryText(block, u"\\StringFileInfo\\041203B5\\ProductVersion"), std::u16string(u"1.0.0.0\0", 8));
}

TEST(VersionResourceProgram, OtherStandardStringsArePresentAndEmpty) {
  const std::vector<unsigned char> block = ReadBlock(MORVANE_EXE);
  ASSERT_FALSE(block.empty());
  for (const char16_t* name : {u"CompanyName", u"FileDescription", u"InternalName", u"LegalCopyright",
                               u"LegalTrademarks", u"OriginalFilename", u"ProductName", u"Comments"}) {
    std::u16string text = QueryText(block, std::u16string(u"\\StringFileInfo\\041203B5\\") + name);
    EXPECT_EQ(text, std::u16string(1, u'\0')) << std::string(name, name + std::char_traits<char16_t>::length(name));
  }
}

// --- queries -------------------------------------------------------------------------------

TEST(VersionQuery, KeysIgnoreLetterCaseAndUnknownPathsFail) {
  const std::vector<unsigned char> block = StandardBlock();
  EXPECT_EQ(QueryText(block, u"\\stringfileinfo\\041203b5\\FILEVERSION"), std::u16string(u"0.0.0.2\0", 8));
  EXPECT_EQ(QueryText(block, u"\\StringFileInfo\\040904B0\\FileVersion"), u"<none>");
  EXPECT_EQ(QueryText(block, u"\\StringFileInfo\\041203B5\\FileVersio"), u"<none>");
  EXPECT_EQ(QueryText(block, u"\\StringFileInfo\\041203B5\\FileVersionX"), u"<none>");
  EXPECT_EQ(QueryText(block, u"\\NoSuchTable"), u"<none>");
}

TEST(VersionQuery, FixedPartIsMissingFromABlockWithoutOne) {
  VersionBlockContent content = StandardVersionContent(u"", u"", {1, 2, 3, 4});
  content.hasFixedPart = false;
  const std::vector<unsigned char> block = BuildVersionBlock(content);
  const void* value = nullptr;
  std::uint32_t length = 0;
  EXPECT_FALSE(versionresource::VerQueryValue(block.data(), block.size(), u"\\", value, length));
  EXPECT_TRUE(versionresource::VerQueryValue(block.data(), block.size(), u"\\VarFileInfo\\Translation", value, length));
}

TEST(VersionQuery, ABlockCutShortAnswersNothing) {
  const std::vector<unsigned char> whole = StandardBlock();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    // Exactly `size` bytes on the heap, so that any read past them is caught.
    std::vector<unsigned char> cut(whole.begin(), whole.begin() + size);
    const void* value = nullptr;
    std::uint32_t length = 0;
    EXPECT_FALSE(versionresource::VerQueryValue(cut.data(), size, u"\\", value, length)) << size;
    EXPECT_FALSE(versionresource::VerQueryValue(cut.data(), size, u"\\StringFileInfo\\041203B5\\FileVersion", value, length)) << size;
  }
}

// Random damage anywhere in a block: whatever a query answers must lie inside the block.
TEST(VersionQuery, DamagedBlocksNeverPointOutside) {
  const std::vector<unsigned char> whole = StandardBlock();
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> position(0, whole.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 3000; ++round) {
    std::vector<unsigned char> block = whole;
    for (int n = round % 4 + 1; n > 0; --n) block[position(random)] = static_cast<unsigned char>(byte(random));
    for (const char16_t* path : {u"\\", u"\\VarFileInfo\\Translation", u"\\StringFileInfo\\041203B5\\FileVersion"}) {
      const void* value = nullptr;
      std::uint32_t length = 0;
      if (!versionresource::VerQueryValue(block.data(), block.size(), path, value, length)) continue;
      // Text lengths count units of two bytes, unless damage has made the entry binary;
      // either way the value's first `length` bytes lie in the block.
      const auto* at = static_cast<const unsigned char*>(value);
      ASSERT_GE(at, block.data());
      ASSERT_LE(at + length, block.data() + block.size()) << "round " << round;
    }
  }
}

// --- finding the section -------------------------------------------------------------------

struct Layout {
  const char* name;
  bool is64;
  bool littleEndian;
};

class VersionSectionLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(VersionSectionLayout, FoundWithItsExactBytes) {
  TempFolder folder;
  const std::vector<unsigned char> block = StandardBlock();
  ElfImage image = MakeElfImage({GetParam().is64, GetParam().littleEndian,
                                 {{".text", {0x90, 0x90}}, {kSection, block}, {".data", {1, 2, 3}}}});
  const std::string file = WriteBytes(folder, "program", image.bytes);
  EXPECT_EQ(versionresource::GetFileVersionInfoSize(file), block.size());
  EXPECT_EQ(ReadBlock(file), block);
}

TEST_P(VersionSectionLayout, SectionPaddedBeyondTheBlockGivesTheBlockOnly) {
  TempFolder folder;
  const std::vector<unsigned char> block = StandardBlock();
  std::vector<unsigned char> padded = block;
  padded.resize(block.size() + 13, 0xEE);
  ElfImage image = MakeElfImage({GetParam().is64, GetParam().littleEndian, {{kSection, padded}}});
  EXPECT_EQ(ReadBlock(WriteBytes(folder, "program", image.bytes)), block);
}

TEST_P(VersionSectionLayout, NoSectionOfThatNameGivesNothing) {
  TempFolder folder;
  ElfImage image = MakeElfImage({GetParam().is64, GetParam().littleEndian,
                                 {{".morvane_versio", StandardBlock()}, {".morvane_version2", StandardBlock()}}});
  EXPECT_EQ(versionresource::GetFileVersionInfoSize(WriteBytes(folder, "program", image.bytes)), 0u);
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, VersionSectionLayout,
                         ::testing::Values(Layout{"Elf64Lsb", true, true}, Layout{"Elf64Msb", true, false},
                                           Layout{"Elf32Lsb", false, true}, Layout{"Elf32Msb", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VersionSection, SmallerBufferGetsTheBlocksFirstBytes) {
  TempFolder folder;
  const std::vector<unsigned char> block = StandardBlock();
  const std::string file = WriteBytes(folder, "program", MakeElfImage({true, true, {{kSection, block}}}).bytes);
  std::vector<unsigned char> part(10);
  ASSERT_TRUE(versionresource::GetFileVersionInfo(file, part.size(), part.data()));
  EXPECT_TRUE(std::equal(part.begin(), part.end(), block.begin()));
  EXPECT_FALSE(versionresource::GetFileVersionInfo(file, 0, part.data()));
}

TEST(VersionSection, FilesThatAreNoExecutablesGiveNothing) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "folder");
  std::vector<std::string> files = {
      Utf8(folder / "missing"),
      Utf8(folder / "folder"),
      Utf8(folder.WriteFile("empty", "")),
      Utf8(folder.WriteFile("text.txt", "FileVersion 0.0.0.2\n")),
      Utf8(folder.WriteFile("magic-only", "\x7F" "ELF")),
      platform::GetExeFileName(),  // this test: a real executable that carries no block
  };
  for (const std::string& file : files) {
    EXPECT_EQ(versionresource::GetFileVersionInfoSize(file), 0u);
    unsigned char buffer[16];
    EXPECT_FALSE(versionresource::GetFileVersionInfo(file, sizeof buffer, buffer));
  }
}

// Every cut of a good file loses the section table, which comes last.
TEST(VersionSection, EveryTruncationGivesNothing) {
  TempFolder folder;
  const std::vector<unsigned char> whole = MakeElfImage({true, true, {{kSection, StandardBlock()}}}).bytes;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::string file = WriteBytes(folder, "cut", {whole.begin(), whole.begin() + size});
    ASSERT_EQ(versionresource::GetFileVersionInfoSize(file), 0u) << "cut at " << size;
  }
}

// A damaged header or section table: the reader must neither crash nor read outside the
// file, and must give either nothing or the whole, unchanged block.
struct Damage {
  const char* name;
  void (*apply)(ElfImage& image);
  bool stillFound;
};

constexpr std::size_t kVersionIndex = 1;
constexpr std::size_t kNamesIndex = 2;

const Damage kDamages[] = {
    {"BadMagic", [](ElfImage& i) { i.bytes[1] = 'X'; }, false},
    {"UnknownClass", [](ElfImage& i) { i.bytes[4] = 3; }, false},
    {"UnknownByteOrder", [](ElfImage& i) { i.bytes[5] = 0; }, false},
    {"TableBeyondEnd", [](ElfImage& i) { i.SetHeader("e_shoff", i.bytes.size()); }, false},
    {"TableOffsetOverflows", [](ElfImage& i) { i.SetHeader("e_shoff", ~std::uint64_t{0} - 16); }, false},
    {"NoTable", [](ElfImage& i) { i.SetHeader("e_shoff", 0); }, false},
    {"EntrySizeZero", [](ElfImage& i) { i.SetHeader("e_shentsize", 0); }, false},
    {"EntrySizeTooSmall", [](ElfImage& i) { i.SetHeader("e_shentsize", 8); }, false},
    {"NameTableIndexOutOfRange", [](ElfImage& i) { i.SetHeader("e_shstrndx", 7); }, false},
    {"NameTableBeyondEnd", [](ElfImage& i) { i.SetSection(kNamesIndex, "sh_offset", i.bytes.size() - 2); }, false},
    {"NameTableHuge", [](ElfImage& i) { i.SetSection(kNamesIndex, "sh_size", ~std::uint64_t{0}); }, false},
    {"NameOffsetBeyondTable", [](ElfImage& i) { i.SetSection(kVersionIndex, "sh_name", 0xFFFFFFF0); }, false},
    {"NameRunsOffTable", [](ElfImage& i) { i.SetSection(kNamesIndex, "sh_size", 8); }, false},
    {"SectionBeyondEnd", [](ElfImage& i) { i.SetSection(kVersionIndex, "sh_offset", i.bytes.size()); }, false},
    {"SectionRunsOffEnd", [](ElfImage& i) { i.SetSection(kVersionIndex, "sh_size", i.bytes.size()); }, false},
    {"SectionSizeOverflows", [](ElfImage& i) { i.SetSection(kVersionIndex, "sh_size", ~std::uint64_t{0}); }, false},
    {"SectionWithoutBytes", [](ElfImage& i) { i.SetSection(kVersionIndex, "sh_type", ElfSectionNoBits); }, false},
    {"SectionTooSmallForBlock", [](ElfImage& i) { i.SetSection(kVersionIndex, "sh_size", 40); }, false},
    {"BlockLongerThanSection",
     [](ElfImage& i) {
       i.SetSection(kVersionIndex, "sh_size", i.Section(kVersionIndex, "sh_size") - 1);
     },
     false},
    {"BlockLengthBelowHeader",
     [](ElfImage& i) {
       std::size_t at = i.Section(kVersionIndex, "sh_offset");
       i.bytes[at] = 4;
       i.bytes[at + 1] = 0;
     },
     false},
    {"WrongRootKey", [](ElfImage& i) { i.bytes[i.Section(kVersionIndex, "sh_offset") + 6] = 'W'; }, false},
    {"CountInFirstSection",
     [](ElfImage& i) {
       i.SetSection(0, "sh_size", i.Header("e_shnum"));
       i.SetHeader("e_shnum", 0);
     },
     true},
    {"NameTableIndexInFirstSection",
     [](ElfImage& i) {
       i.SetSection(0, "sh_link", i.Header("e_shstrndx"));
       i.SetHeader("e_shstrndx", 0xFFFF);
     },
     true},
    {"CountInFirstSectionTooLarge",
     [](ElfImage& i) {
       i.SetSection(0, "sh_size", ~std::uint64_t{0});
       i.SetHeader("e_shnum", 0);
       i.SetHeader("e_shstrndx", 0xFFFF);
       i.SetSection(0, "sh_link", ~std::uint32_t{0});
     },
     false},
};

class DamagedElf : public ::testing::TestWithParam<std::tuple<Damage, Layout>> {};

TEST_P(DamagedElf, GivesNothingOrTheWholeBlock) {
  const auto& [damage, layout] = GetParam();
  TempFolder folder;
  const std::vector<unsigned char> block = StandardBlock();
  ElfImage image = MakeElfImage({layout.is64, layout.littleEndian, {{kSection, block}}});
  damage.apply(image);
  const std::string file = WriteBytes(folder, "damaged", image.bytes);
  if (damage.stillFound)
    EXPECT_EQ(ReadBlock(file), block);
  else
    EXPECT_EQ(versionresource::GetFileVersionInfoSize(file), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedElf,
    ::testing::Combine(::testing::ValuesIn(kDamages),
                       ::testing::Values(Layout{"Elf64Lsb", true, true}, Layout{"Elf32Msb", false, false})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// Random bytes over the header and the section table of a real-looking file.
TEST(VersionSection, RandomDamageNeverReadsOutside) {
  TempFolder folder;
  const std::vector<unsigned char> block = StandardBlock();
  const ElfImage whole = MakeElfImage({true, true, {{".text", {1, 2, 3, 4}}, {kSection, block}}});
  const std::size_t table = whole.Header("e_shoff");
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> inHeader(0, 63);
  std::uniform_int_distribution<std::size_t> inTable(table, whole.bytes.size() - 1);
  int found = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<unsigned char> bytes = whole.bytes;
    for (int n = round % 3 + 1; n > 0; --n)
      bytes[round % 2 ? inHeader(random) : inTable(random)] = static_cast<unsigned char>(byte(random));
    const std::string file = WriteBytes(folder, "random", bytes);
    const std::uint32_t size = versionresource::GetFileVersionInfoSize(file);
    if (size == 0) continue;
    ++found;
    EXPECT_EQ(ReadBlock(file), block) << "round " << round;
  }
  // Most single-byte damage hits fields the reader does not use.
  EXPECT_GT(found, 0);
}

}  // namespace
