#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>

#include "Base/Utf8.h"
#include "Paths/PathHelpers.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/System.h"
#include "support/TempFolder.h"
#include "support/TestNeeds.h"

namespace fs = std::filesystem;
using namespace std::string_view_literals;

namespace {

// Windows takes "\\" as a delimiter, as "/", and writes "\\" itself; its programs end in ".exe".
constexpr bool BackslashIsADelimiter = platform::IsPathDelimiter(U'\\');
constexpr char16_t Delimiter = platform::PathDelimiter;
#ifdef _WIN32
const std::u16string ExeSuffix = u".exe";
#else
const std::u16string ExeSuffix;
#endif

// Restores the current directory when a test that changes it ends.
class CurrentDirGuard {
 public:
  CurrentDirGuard() : saved_(fs::current_path()) {}
  ~CurrentDirGuard() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

struct SplitCase {
  std::u16string path;
  std::u16string folder;
  std::u16string name;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << '"' << text::Utf16ToUtf8(c.path) << '"'; }

class PathSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PathSplit, WideAtTheLastDelimiter) {
  EXPECT_EQ(ExtractFilePathW(GetParam().path), GetParam().folder);
  EXPECT_EQ(ExtractFileNameW(GetParam().path), GetParam().name);
}

TEST_P(PathSplit, NarrowAgreesWithWide) {
  const std::string path = text::Utf16ToUtf8(GetParam().path);
  EXPECT_EQ(ExtractFilePath(path), text::Utf16ToUtf8(GetParam().folder));
  EXPECT_EQ(ExtractFileName(path), text::Utf16ToUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathSplit,
    ::testing::Values(SplitCase{u"/home/user/clip.mp4", u"/home/user/", u"clip.mp4"},
                      SplitCase{u"clip.mp4", u"", u"clip.mp4"}, SplitCase{u"", u"", u""},
                      SplitCase{u"/", u"/", u""}, SplitCase{u"/media/dir/", u"/media/dir/", u""},
                      // ":" is an ordinary name character here.
                      SplitCase{u"C:file", u"", u"C:file"}, SplitCase{u"a/b:c/d:e", u"a/b:c/", u"d:e"},
                      SplitCase{u"C:\\dir\\x.mp4", BackslashIsADelimiter ? u"C:\\dir\\" : u"",
                                BackslashIsADelimiter ? u"x.mp4" : u"C:\\dir\\x.mp4"},
                      SplitCase{u"/t/\xC601\xC0C1/\xD83C\xDFAC.mov", u"/t/\xC601\xC0C1/", u"\xD83C\xDFAC.mov"}));

TEST(PathHelpersTest, SurrogateClassification) {
  EXPECT_FALSE(IsSurrogate(0xD7FF));
  EXPECT_TRUE(IsSurrogate(0xD800));
  EXPECT_TRUE(IsSurrogate(0xDFFF));
  EXPECT_FALSE(IsSurrogate(0xE000));
  const std::u16string text = u"a\xD83D\xDE00";
  EXPECT_EQ(SurrogateType(text, 0), 0);
  EXPECT_EQ(SurrogateType(text, 1), 0);
  EXPECT_EQ(SurrogateType(text, 2), 1);
  EXPECT_EQ(SurrogateType(text, 3), 2);
  EXPECT_EQ(SurrogateType(text, 4), 0);
}

TEST(PathHelpersTest, LastDelimiterCountsFromOneAndIgnoresZeroUnits) {
  EXPECT_EQ(LastDelimiterW(u"/:", u"a:b/c"), 4u);
  EXPECT_EQ(LastDelimiterW(u"/:", u"a:bc"), 2u);
  EXPECT_EQ(LastDelimiterW(u"/", u"abc"), 0u);
  EXPECT_EQ(LastDelimiterW(u"/", u""), 0u);
  EXPECT_EQ(LastDelimiterW(u"", u"a/b"), 0u);
  EXPECT_EQ(LastDelimiterW(u"/\0"sv, u"a/b\0c"sv), 2u);
}

TEST(PathHelpersTest, IncludeTrailingDelimiter) {
  EXPECT_EQ(IncludeTrailingBackslashW(u""), std::u16string(1, Delimiter));
  EXPECT_EQ(IncludeTrailingBackslashW(u"/media/dir/"), u"/media/dir/");
  EXPECT_EQ(IncludeTrailingBackslashW(u"/media/dir"), u"/media/dir" + std::u16string(1, Delimiter));
  EXPECT_EQ(IncludeTrailingBackslashW(u"C:"), u"C:" + std::u16string(1, Delimiter));
  EXPECT_EQ(IncludeTrailingBackslashW(u"dir\\"), BackslashIsADelimiter ? u"dir\\" : u"dir\\/");
  EXPECT_EQ(IncludeTrailingBackslashW(u"x\xD83D"), u"x\xD83D" + std::u16string(1, Delimiter));
}

TEST(PathHelpersTest, ExistenceAndSizeOfFilesFoldersAndMissingNames) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  TempFolder folder;
  const fs::path file = folder.WriteFile("clip.mp4", std::string(3000, 'x'));
  const fs::path empty = folder.WriteFile("empty.mp4", "");
  const fs::path missing = folder / "missing.mp4";
  const fs::path emoji = folder.WriteFile("\xF0\x9F\x8E\xAC \xEC\x98\x81.mp4", "12345");

  EXPECT_TRUE(FileExistsW(Wide(file)));
  EXPECT_TRUE(FileExists(file.string()));
  EXPECT_EQ(FileSizeByNameW(Wide(file)), 3000);
  EXPECT_EQ(FileSizeByNameW(Wide(empty)), 0);
  EXPECT_TRUE(FileExistsW(Wide(emoji)));
  EXPECT_TRUE(FileExists(emoji.string()));
  EXPECT_EQ(FileSizeByNameW(Wide(emoji)), 5);

  EXPECT_FALSE(FileExistsW(Wide(folder.path())));
  EXPECT_FALSE(FileExists(folder.path().string()));
  EXPECT_EQ(FileSizeByNameW(Wide(folder.path())), -1);
  EXPECT_FALSE(FileExistsW(Wide(missing)));
  EXPECT_FALSE(FileExists(missing.string()));
  EXPECT_EQ(FileSizeByNameW(Wide(missing)), -1);
  EXPECT_FALSE(FileExistsW(u""));

  fs::create_symlink(missing, folder / "dangling");
  EXPECT_FALSE(FileExistsW(Wide(folder / "dangling")));
  fs::create_symlink(file, folder / "link");
  EXPECT_EQ(FileSizeByNameW(Wide(folder / "link")), 3000);
}

TEST(PathHelpersTest, RelativeNamesResolveAgainstTheCurrentDirectory) {
  CurrentDirGuard guard;
  TempFolder folder;
  fs::create_directory(folder / "sub");
  folder.WriteFile("clip.mp4", std::string(1500, 'x'));
  const std::u16string canonical = Wide(fs::canonical(folder.path()));

  ASSERT_TRUE(SetCurrentDirW(Wide(folder.path())));
  EXPECT_EQ(GetCurrentDirW(), canonical);
  EXPECT_EQ(ExpandFileNameW(u"sub/../clip.mp4"), canonical + Delimiter + u"clip.mp4");
  EXPECT_EQ(FileSizeByNameW(u"sub/../clip.mp4"), 1500);
  EXPECT_TRUE(FileExists("clip.mp4"));

  EXPECT_FALSE(SetCurrentDirW(Wide(folder / "missing")));
  EXPECT_EQ(GetCurrentDirW(), canonical);
}

TEST(PathHelpersTest, DotDotAfterALinkLeadsWhereTheSystemGoes) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  // dir/link points to other/sub; the system takes dir/link/.. as other, not as dir.
  TempFolder folder;
  fs::create_directories(folder / "dir");
  fs::create_directories(folder / "other" / "sub");
  fs::create_directory_symlink(folder / "other" / "sub", folder / "dir" / "link");
  folder.WriteFile("dir/f.bin", "abc");
  folder.WriteFile("other/f.bin", "1234567");
  folder.WriteFile("other/only.bin", "12");
  const std::u16string canonical = Wide(fs::canonical(folder.path()));

  EXPECT_EQ(ExpandFileNameW(Wide(folder / "dir/link/../f.bin")), canonical + u"/other/f.bin");
  EXPECT_EQ(FileSizeByNameW(Wide(folder / "dir/link/../f.bin")), 7);
  EXPECT_EQ(FileSizeByNameW(Wide(folder / "dir/link/../only.bin")), 2) << "the file exists only behind the link";
  EXPECT_TRUE(FileExistsW(Wide(folder / "dir/link/../only.bin")));
  // Where the part in front of ".." names no folder, the name stays as text.
  EXPECT_EQ(ExpandFileNameW(Wide(folder / "dir/missing/../f.bin")), Wide(folder / "dir/f.bin"));
}

TEST(PathHelpersTest, ExecutableAndItsFolder) {
  const std::u16string exe = GetExeFileNameW();
  EXPECT_TRUE(FileExistsW(exe));
  EXPECT_EQ(ExtractFileNameW(exe), u"paths_test" + ExeSuffix);
  const std::u16string folder = GetExeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), Delimiter);
  EXPECT_EQ(folder + u"paths_test" + ExeSuffix, exe);
}

class EnvironmentValue : public ::testing::TestWithParam<std::size_t> {};

TEST_P(EnvironmentValue, ComesBackWhole) {
  std::u16string value;
  for (std::size_t i = 0; i < GetParam(); ++i) value += i % 7 == 0 ? u'\xE9' : static_cast<char16_t>(u'a' + i % 26);
  ASSERT_TRUE(platform::SetEnvVar("MORVANE_PATHS_TEST", text::Utf16ToUtf8(value)));
  EXPECT_EQ(GetEnvVarW(u"MORVANE_PATHS_TEST"), value);
}

INSTANTIATE_TEST_SUITE_P(Lengths, EnvironmentValue, ::testing::Values(0, 1, 1023, 1024, 1025, 5000));

TEST(PathHelpersTest, UnsetVariableIsEmpty) {
  EXPECT_EQ(GetEnvVarW(u"MORVANE_PATHS_TEST_NEVER_SET"), u"");
}

struct SizeCase {
  std::int64_t bytes;
  std::string text;  // with "." standing for the user's decimal separator
};

void PrintTo(const SizeCase& c, std::ostream* out) { *out << c.bytes << " -> " << c.text; }

class SizeText : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeText, UnitAndRounding) {
  std::string expected = GetParam().text;
  std::replace(expected.begin(), expected.end(), '.', platform::DecimalSeparator());
  EXPECT_EQ(SizeToStr(GetParam().bytes), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, SizeText,
    ::testing::Values(SizeCase{0, "0 Byte"}, SizeCase{-1, "-1 Byte"}, SizeCase{1024, "1024 Byte"},
                      SizeCase{1025, "1.00 KB"}, SizeCase{1536, "1.50 KB"}, SizeCase{1048575, "1024.00 KB"},
                      SizeCase{1048576, "1024.00 KB"}, SizeCase{1048577, "1.00 MB"},
                      SizeCase{1073741824, "1024.00 MB"}, SizeCase{3LL << 29, "1.50 GB"},
                      SizeCase{5LL << 40, "5120.00 GB"}, SizeCase{-(1LL << 40), "-1099511627776 Byte"}));

}  // namespace
