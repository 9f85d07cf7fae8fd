// The version reader's file version text, on real executables and on files made here.
// This test binary carries a block of its own: an empty "FileVersion" and fixed 1.2.3.4.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Base/Utf8.h"
#include "about/ElfImage.h"
#include "about/VersionBlockBuilder.h"
#include "about/VersionInfo.h"
#include "about/VersionResource.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace {

std::string Narrow(const std::u16string& text) { return text::Utf16ToUtf8(text); }

TEST(VersionInfoExecutable, TheProgramReadsItsVersion) {
  TVersionInfo info(MORVANE_EXE);
  EXPECT_TRUE(info.Valid());
  EXPECT_GT(info.Size(), 0u);
  EXPECT_EQ(info.FileName(), MORVANE_EXE);
  EXPECT_EQ(Narrow(info.FileVersion()), "0.0.0.2");
}

TEST(VersionInfoExecutable, EmptyFileVersionFallsBackToTheFixedPart) {
  TVersionInfo info(platform::GetExeFileName());
  EXPECT_TRUE(info.Valid());
  EXPECT_EQ(Narrow(info.FileVersion()), "1.2.3.4");
}

TEST(VersionInfoExecutable, FilesWithoutABlockGiveAnInvalidReader) {
  TempFolder folder;
  const std::vector<unsigned char> elf = MakeElfImage({true, true, {{".text", {0xC3}}}}).bytes;
  for (const std::string& file : {
           Utf8(folder / "missing"),
           Utf8(folder.WriteFile("notes.txt", "FileVersion=0.0.0.2\n")),
           Utf8(folder.WriteFile("no-section", std::string(elf.begin(), elf.end()))),
           std::string(),
       }) {
    TVersionInfo info(file);
    EXPECT_FALSE(info.Valid());
    EXPECT_EQ(info.Size(), 0u);
    EXPECT_EQ(info.FileVersion(), u"");
  }
}

// Blocks made here, carried in ELF files made here.
struct BlockCase {
  const char* name;
  VersionBlockContent content;
  const char* expected;
};

VersionBlockContent Content(const std::u16string& fileVersion, VersionBlockContent::FourPart fixed) {
  return StandardVersionContent(fileVersion, u"9.9.9.9", fixed);
}

VersionBlockContent WithTranslation(VersionBlockContent c, std::uint16_t language, std::uint16_t codePage) {
  c.language = language;
  c.codePage = codePage;
  return c;
}

VersionBlockContent WithoutTranslation(VersionBlockContent c) {
  c.hasTranslation = false;
  return c;
}

VersionBlockContent WithoutFixedPart(VersionBlockContent c) {
  c.hasFixedPart = false;
  return c;
}

const BlockCase kBlockCases[] = {
    {"StringWins", Content(u"3.1 beta", {1, 2, 3, 4}), "3.1 beta"},
    {"OtherTranslationIsFollowed", WithTranslation(Content(u"5.6.7", {1, 2, 3, 4}), 0x0409, 0x04B0), "5.6.7"},
    {"TableKeyIsUpperCaseHex", WithTranslation(Content(u"ab", {0, 0, 0, 1}), 0x0C0A, 0xFDE9), "ab"},
    {"EmptyStringGivesFixedPart", Content(u"", {9, 8, 7, 6}), "9.8.7.6"},
    {"FixedPartHalvesInOrder", Content(u"", {65535, 0, 1, 65534}), "65535.0.1.65534"},
    {"NoTranslationGivesFixedPart", WithoutTranslation(Content(u"4.4.4.4", {1, 0, 0, 3})), "1.0.0.3"},
    {"NothingToShow", WithoutFixedPart(WithoutTranslation(Content(u"4.4.4.4", {1, 0, 0, 3}))), ""},
    {"EmptyStringNoFixedPart", WithoutFixedPart(Content(u"", {1, 0, 0, 3})), ""},
    {"KoreanText", Content(u"\uBC84\uC804 3", {0, 0, 0, 0}), "\xEB\xB2\x84\xEC\xA0\x84 3"},
};

class VersionInfoBlock : public ::testing::TestWithParam<BlockCase> {};

TEST_P(VersionInfoBlock, FileVersionText) {
  TempFolder folder;
  const std::vector<unsigned char> block = BuildVersionBlock(GetParam().content);
  const std::vector<unsigned char> elf =
      MakeElfImage({true, true, {{".text", {0xC3}}, {versionresource::VersionSectionName, block}}}).bytes;
  TVersionInfo info(Utf8(folder.WriteFile("program", std::string(elf.begin(), elf.end()))));
  EXPECT_TRUE(info.Valid());
  EXPECT_EQ(info.Size(), block.size());
  EXPECT_EQ(Narrow(info.FileVersion()), GetParam().expected);
}

// Random damage to the block inside a file: the reader gives some text or none, and never
// reads outside what it holds.
TEST(VersionInfoDamaged, RandomDamageStaysInsideTheBlock) {
  TempFolder folder;
  const std::vector<unsigned char> block = BuildVersionBlock(Content(u"7.7.7.7", {1, 2, 3, 4}));
  const ElfImage image = MakeElfImage({true, true, {{versionresource::VersionSectionName, block}}});
  const std::size_t start = image.Section(1, "sh_offset");
  std::mt19937 random(99);
  std::uniform_int_distribution<std::size_t> position(start, start + block.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  int intact = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<unsigned char> bytes = image.bytes;
    for (int n = round % 3 + 1; n > 0; --n) bytes[position(random)] = static_cast<unsigned char>(byte(random));
    TVersionInfo info(Utf8(folder.WriteFile("damaged", std::string(bytes.begin(), bytes.end()))));
    const std::u16string version = info.FileVersion();
    EXPECT_LE(version.size(), block.size() / 2);
    if (version == u"7.7.7.7") ++intact;
  }
  EXPECT_GT(intact, 0);  // damage to unused bytes leaves the answer alone
}

INSTANTIATE_TEST_SUITE_P(Blocks, VersionInfoBlock, ::testing::ValuesIn(kBlockCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
