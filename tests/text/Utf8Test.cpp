#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "Base/Utf8.h"

namespace {

using text::Utf16ToUtf8;
using text::Utf8ToUtf16;
using text::Utf16ToUtf8Escaped;
using text::Utf8ToUtf16Escaped;

struct Pair {
  std::string utf8;
  std::u16string utf16;
};

void PrintTo(const Pair& pair, std::ostream* out) {
  *out << std::hex << std::uppercase;
  for (unsigned char byte : pair.utf8) *out << ' ' << static_cast<unsigned>(byte);
  *out << " <->";
  for (char16_t unit : pair.utf16) *out << ' ' << static_cast<unsigned>(unit);
}

class Utf8RoundTrip : public ::testing::TestWithParam<Pair> {};

TEST_P(Utf8RoundTrip, BothDirections) {
  EXPECT_EQ(Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
  EXPECT_EQ(Utf16ToUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, Utf8RoundTrip,
    ::testing::Values(Pair{"", u""}, Pair{"a/b:c", u"a/b:c"}, Pair{"\x7F", u"\x7F"}, Pair{"\xC2\x80", u"\x80"},
                      Pair{"\xDF\xBF", u"\x7FF"}, Pair{"\xE0\xA0\x80", u"\x800"}, Pair{"\xEF\xBF\xBF", u"\xFFFF"},
                      Pair{"\xED\x9F\xBF", u"\xD7FF"}, Pair{"\xEE\x80\x80", u"\xE000"},
                      // Four-byte sequences and surrogate pairs.
                      Pair{"\xF0\x90\x80\x80", u"\xD800\xDC00"}, Pair{"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
                      Pair{"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
                      Pair{"clip \xF0\x9F\x8E\xAC \xEC\x98\x81\xEC\x83\x81.mp4", u"clip \xD83C\xDFAC \xC601\xC0C1.mp4"}));

class MalformedUtf8 : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedUtf8, GivesEmptyText) {
  EXPECT_EQ(Utf8ToUtf16(GetParam()), u"");
  EXPECT_EQ(Utf8ToUtf16("ok " + GetParam()), u"") << "a valid start must not survive";
  EXPECT_EQ(Utf16ToUtf8Escaped(Utf8ToUtf16Escaped(GetParam())), GetParam()) << "escaped bytes come back unchanged";
}

INSTANTIATE_TEST_SUITE_P(Sequences, MalformedUtf8,
                         ::testing::Values("\x80", "\xBF", "\xC3", "\xC3(", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF",
                                           "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF0\x9F\x98",
                                           "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF",
                                           "\xF0\x9F\x98\x80\x80"));

TEST(Utf8Test, LoneSurrogatesBecomeTheReplacement) {
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"), "a?");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00z"), "?z");
  EXPECT_EQ(Utf16ToUtf8(u"\xD800\xD800\xDC00", '_'), "_\xF0\x90\x80\x80");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00\xD800", '_'), "__");
}

TEST(Utf8Test, EscapedDecodingCarriesBadBytesAndGoesOn) {
  EXPECT_EQ(Utf8ToUtf16Escaped("a\x80z"), u"a\xDC80z");
  EXPECT_EQ(Utf8ToUtf16Escaped("\xC3\xA9\xFF\xF0\x9F\x98\x80"), u"\xE9\xDCFF\xD83D\xDE00");
  EXPECT_EQ(Utf8ToUtf16Escaped("caf\xE9.mp4"), u"caf\xDCE9.mp4") << "a Latin-1 name";
  EXPECT_EQ(Utf16ToUtf8Escaped(u"caf\xDCE9.mp4"), "caf\xE9.mp4");
}

TEST(Utf8Test, EscapedEncodingTurnsOnlyLoneEscapesBackIntoBytes) {
  EXPECT_EQ(Utf16ToUtf8Escaped(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80") << "a pair stays a character";
  EXPECT_EQ(Utf16ToUtf8Escaped(u"\xDC00\xDC7F"), "??") << "below the escape range";
  EXPECT_EQ(Utf16ToUtf8Escaped(u"\xD800\xDC80"), "\xF0\x90\x82\x80") << "a trail after a lead is a pair";
}

}  // namespace
