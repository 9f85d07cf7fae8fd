#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "workflow/naming/NewFileName.h"

namespace {

// Windows takes "\\" as a delimiter, as "/"; other systems take it as a name character.
constexpr bool BackslashIsADelimiter = platform::IsPathDelimiter(U'\\');
const std::string Delimiter(1, platform::PathDelimiter);

struct ExtensionCase {
  const char* fileName;
  const char* extension;
};

class ExtractExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtractExtensionTest, FromTheLastDotOfTheName) {
  EXPECT_EQ(ExtractExtension(GetParam().fileName), GetParam().extension) << GetParam().fileName;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExtractExtensionTest,
    ::testing::Values(ExtensionCase{"/v/a.mp4", ".mp4"}, ExtensionCase{"/v/a.MP4", ".MP4"},
                      ExtensionCase{"/v/a.tar.gz", ".gz"}, ExtensionCase{"/v/noext", ""},
                      ExtensionCase{"/v.d/noext", ""}, ExtensionCase{"noext", ""}, ExtensionCase{"a.", "."},
                      // ":" is an ordinary name character here.
                      ExtensionCase{"/v/a.b:c", ".b:c"},
                      ExtensionCase{"/v/a.b\\c", BackslashIsADelimiter ? "" : ".b\\c"},
                      ExtensionCase{"/v/.hidden", ".hidden"}));

TEST(NewFileNameTest, RenameKeepsTheRowsFolder) {
  const std::string fileName = "/v/a.mp4";
  EXPECT_EQ(MakeNewFileName(RenameFolderOf(fileName), "2015-06-01T10:20:30.000000Z", fileName),
            "/v/2015-06-01T10_20_30.000000Z.mp4");
  EXPECT_EQ(MakeNewFileName(RenameFolderOf("a.mp4"), "T1:2", "a.mp4"), "T1_2.mp4");
  EXPECT_EQ(MakeNewFileName(RenameFolderOf("/v/a:b/c.MOV"), "x", "/v/a:b/c.MOV"), "/v/a:b/x.MOV");
  EXPECT_EQ(MakeNewFileName(RenameFolderOf("/v/clip"), "10:20", "/v/clip"), "/v/10_20");
  // No drive colon: a name without delimiter stays in the current folder.
  EXPECT_EQ(MakeNewFileName(RenameFolderOf("c:a.mp4"), "t", "c:a.mp4"), "t.mp4");
}

TEST(NewFileNameTest, CopyAppendsOneDelimiterToTheChosenFolder) {
  EXPECT_EQ(MakeNewFileName(CopyFolderOf("/out"), "2015-06-01T10:20:30.000000Z", "/v/a.mp4"),
            "/out" + Delimiter + "2015-06-01T10_20_30.000000Z.mp4");
  EXPECT_EQ(MakeNewFileName(CopyFolderOf("/out/"), "t", "/v/a.mp4"), "/out/t.mp4");
  EXPECT_EQ(MakeNewFileName(CopyFolderOf("/"), "t", "/v/a.mp4"), "/t.mp4");
  EXPECT_EQ(MakeNewFileName(CopyFolderOf("rel"), "t", "a"), "rel" + Delimiter + "t");
}

TEST(NewFileNameTest, OnlyTheColonIsReplaced) {
  EXPECT_EQ(MakeNewFileName("/v/", " a:b\\c*?<>|\" :", "/v/x.mp4"), "/v/ a_b\\c*?<>|\" _.mp4");
}

TEST(NewFileNameTest, CreationTimesThatWouldLeaveTheFolderAreNotUsable) {
  for (const char* refused : {"", ".", "..", "a/b", "/", "../x", "x/..", "/etc/passwd"})
    EXPECT_FALSE(IsUsableNamePart(refused)) << refused;
  for (const char* usable : {"2015-06-01T10:20:30Z", "...", ".x", "x.", "..a", " . "})
    EXPECT_TRUE(IsUsableNamePart(usable)) << usable;
  EXPECT_NE(IsUsableNamePart("a\\b"), BackslashIsADelimiter);
}

}  // namespace
