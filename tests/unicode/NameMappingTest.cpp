// Mapping UTF-16 names to the bytes of the container open and back.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "UnicodeProtocol/UnicodeProtocol.h"
#include "platform/Text.h"
#include "unicode/RegisteredFlag.h"

namespace {

const std::u16string kLone(1, char16_t{0xD800});  // a lone surrogate: no code page holds it
const std::u16string kEmoji = u"\U0001F600";      // one surrogate pair
const std::string kEmojiUtf8 = "\xF0\x9F\x98\x80";
const std::string kAUmlautUtf8 = "\xC3\xA4";

std::string Mapped(const std::u16string& name) {
  const char* bytes = MapFileNameForOpen(name);
  return bytes ? std::string(bytes) : std::string("<null>");
}

struct MapCase {
  std::u16string name;
  std::string unregistered;  // bytes while the protocol is not registered
  std::string registered;    // bytes while it is
};

void PrintTo(const MapCase& mapCase, std::ostream* out) { *out << ::testing::PrintToString(mapCase.name); }

class MapFileNameForOpenTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapFileNameForOpenTest, GivesTheBytesForTheContainerOpen) {
  {
    RegisteredFlag flag(false);
    EXPECT_EQ(Mapped(GetParam().name), GetParam().unregistered);
  }
  RegisteredFlag flag(true);
  EXPECT_EQ(Mapped(GetParam().name), GetParam().registered);
}

INSTANTIATE_TEST_SUITE_P(
    Names, MapFileNameForOpenTest,
    ::testing::Values(
        // Video names travel as UTF-8, whatever they hold.
        MapCase{u"C:\\v\\a.mp4", "C:\\v\\a.mp4", "C:\\v\\a.mp4"},
        MapCase{u"/v/\u00e4.mp4", "/v/" + kAUmlautUtf8 + ".mp4", "/v/" + kAUmlautUtf8 + ".mp4"},
        MapCase{u"/v/" + kEmoji + u".mkv", "/v/" + kEmojiUtf8 + ".mkv", "/v/" + kEmojiUtf8 + ".mkv"},
        MapCase{u"/v/a" + kLone + u".mp4", "/v/a?.mp4", "/v/a?.mp4"},
        // Still images the code page holds travel in the code page.
        MapCase{u"C:\\v\\a.JPG", "C:\\v\\a.JPG", "C:\\v\\a.JPG"},
        MapCase{u"/v/\u00e4" + kEmoji + u".png", "/v/" + kAUmlautUtf8 + kEmojiUtf8 + ".png",
                "/v/" + kAUmlautUtf8 + kEmojiUtf8 + ".png"},
        // A still image the code page cannot hold becomes a unicode address once the
        // protocol is registered, else its replacement characters stand in the name.
        MapCase{u"/v/a" + kLone + u".jpg", "/v/a?.jpg", "unicode:utf8:/v/a?.jpg"},
        // Addresses of the known protocols are never mapped to unicode addresses.
        MapCase{u"http://host/a" + kLone + u".jpg", "http://host/a?.jpg", "http://host/a?.jpg"},
        MapCase{u"udp://host/a" + kLone + u".bmp", "udp://host/a?.bmp", "udp://host/a?.bmp"},
        // https is no known protocol: the round trip decides.
        MapCase{u"https://host/a.jpg", "https://host/a.jpg", "https://host/a.jpg"},
        MapCase{u"https://host/a" + kLone + u".jpg", "https://host/a?.jpg", "unicode:utf8:https://host/a?.jpg"}));

struct NeedsCase {
  std::u16string name;
  bool needs;
};

void PrintTo(const NeedsCase& needsCase, std::ostream* out) { *out << ::testing::PrintToString(needsCase.name); }

class NeedsUnicodeProtocolTest : public ::testing::TestWithParam<NeedsCase> {};

TEST_P(NeedsUnicodeProtocolTest, OnlyNamesTheCodePageCannotHold) {
  EXPECT_EQ(NeedsUnicodeProtocol(GetParam().name), GetParam().needs);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NeedsUnicodeProtocolTest,
    ::testing::Values(NeedsCase{u"C:\\a.jpg", false}, NeedsCase{u"/v/\u00e4" + kEmoji + u".jpg", false},
                      NeedsCase{u"/v/a" + kLone + u".jpg", true},
                      NeedsCase{u"/v/a" + std::u16string(1, char16_t{0xDC00}) + u".jpg", true},
                      NeedsCase{u"http://h/" + kLone, false}, NeedsCase{u"udp://h/" + kLone, false},
                      NeedsCase{u"pipe:" + kLone, false}, NeedsCase{u"unicode:utf8:" + kLone, false},
                      NeedsCase{u"HTTP://h/" + kLone, true},   // the list is case-sensitive
                      NeedsCase{u"ttp://h/" + kLone, true},    // a part of a listed name is none
                      NeedsCase{u"https://h/" + kLone, true}, NeedsCase{u":" + kLone, true},
                      NeedsCase{u"/v/a:udp:" + kLone, true}));  // only the text before the first ":"

TEST(UnicodeUrl, NeedsTheFullPrefixAndAtLeastOneMoreByte) {
  EXPECT_FALSE(IsUnicodeUrl("unicode:utf8:"));
  EXPECT_TRUE(IsUnicodeUrl("unicode:utf8:a"));
  EXPECT_FALSE(IsUnicodeUrl("unicode:utf8"));
  EXPECT_FALSE(IsUnicodeUrl("Unicode:utf8:/a.jpg"));
  EXPECT_FALSE(IsUnicodeUrl("unicode:utf16:/a.jpg"));
  EXPECT_FALSE(IsUnicodeUrl(""));
}

TEST(UnicodeUrl, CarriesTheNameAsUtf8) {
  EXPECT_EQ(NameToUnicodeUrl(u"/v/\u00e4" + kEmoji + u".jpg"), "unicode:utf8:/v/" + kAUmlautUtf8 + kEmojiUtf8 + ".jpg");
  EXPECT_EQ(NameToUnicodeUrl(u""), "unicode:utf8:");
}

TEST(UnicodeUrl, GivesBackTheNameBehindTheSecondColon) {
  EXPECT_EQ(UnicodeUrlToName("unicode:utf8:C:\\Bilder\\" + kAUmlautUtf8 + ".jpg"), u"C:\\Bilder\\\u00e4.jpg");
  EXPECT_EQ(UnicodeUrlToName("unicode:utf8:/v/" + kEmojiUtf8 + ".jpg"), u"/v/" + kEmoji + u".jpg");
  EXPECT_EQ(UnicodeUrlToName("a:b"), u"b");
  EXPECT_EQ(UnicodeUrlToName("/v/a.jpg"), u"/v/a.jpg");
  EXPECT_EQ(UnicodeUrlToName("unicode:utf8:/v/\xC3(.jpg"), u"");  // malformed UTF-8
}

class MapFileNameFromContextTest : public ::testing::TestWithParam<std::u16string> {};

TEST_P(MapFileNameFromContextTest, GivesBackTheMappedName) {
  for (bool registered : {false, true}) {
    RegisteredFlag flag(registered);
    const char* stored = MapFileNameForOpen(GetParam());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(MapFileNameFromContext(stored), GetParam()) << "registered " << registered;
  }
}

INSTANTIATE_TEST_SUITE_P(Names, MapFileNameFromContextTest,
                         ::testing::Values(u"C:\\v\\a.mp4", u"/v/\u00e4" + kEmoji + u".mp4", u"/v/a.JPG",
                                           u"/v/\u00e4" + kEmoji + u".jpeg", u"/v/a:b c.png"));

TEST(MapFileNameFromContext, StoredUnicodeUrlOfAnImageGivesBackTheName) {
  const std::u16string name = u"C:\\Bilder\\\u00e4" + kEmoji + u".jpg";
  const std::string url = NameToUnicodeUrl(name);
  {
    RegisteredFlag flag(true);
    EXPECT_EQ(MapFileNameFromContext(url), name);
  }
  RegisteredFlag flag(false);  // then no such address can have been made: it is a plain name
  EXPECT_EQ(MapFileNameFromContext(url), u"unicode:utf8:" + name);
}

TEST(MapFileNameFromContext, UndecodableVideoNameGivesEmptyName) {
  EXPECT_EQ(MapFileNameFromContext("/v/\xC3(.mp4"), u"");
  EXPECT_EQ(MapFileNameFromContext("/v/\xF0\x9F\x98.mp4"), u"");  // truncated four-byte sequence
}

TEST(MapFileNameFromContext, ImageNameGoesThroughTheCodePage) {
  // The code page never refuses a name: a byte it cannot read is carried through unchanged.
  EXPECT_EQ(platform::WideToNarrow(MapFileNameFromContext("/v/\xFF.jpg")), "/v/\xFF.jpg");
}

class OverlongNameTest : public ::testing::TestWithParam<const char16_t*> {};

std::u16string Repeated(const std::u16string& part, size_t count) {
  std::u16string text;
  for (size_t i = 0; i < count; ++i) text += part;
  return text;
}

// The name buffer holds the system's longest path, 4096 bytes with the terminating zero;
// bytes are counted, not units.
TEST_P(OverlongNameTest, NameThatLeavesNoRoomForTheZeroGivesNull) {
  const std::u16string extension = GetParam();  // four bytes
  const std::u16string fits[] = {
      Repeated(u"a", 4091) + extension,
      Repeated(u"\u00e4", 2045) + u"a" + extension,
      Repeated(kEmoji, 1022) + u"abc" + extension,
  };
  for (const std::u16string& name : fits) {
    const char* mapped = MapFileNameForOpen(name);
    ASSERT_NE(mapped, nullptr) << name.size() << " units";
    EXPECT_EQ(std::strlen(mapped), 4095u);
  }
  const std::u16string tooLong[] = {
      Repeated(u"a", 4092) + extension,
      Repeated(u"\u00e4", 2046) + extension,  // 2050 units, 4096 bytes
      Repeated(kEmoji, 1023) + extension,      // 2050 units, 4096 bytes
      Repeated(u"a", 70000) + extension,
  };
  for (const std::u16string& name : tooLong) EXPECT_EQ(MapFileNameForOpen(name), nullptr) << name.size() << " units";
}

INSTANTIATE_TEST_SUITE_P(Extensions, OverlongNameTest, ::testing::Values(u".mp4", u".jpg"));

TEST(MapFileNameForOpen, ShortNameAfterLongOneIsNotMixedWithIt) {
  ASSERT_NE(MapFileNameForOpen(u"/v/" + std::u16string(4000, u'x') + u".mp4"), nullptr);
  EXPECT_EQ(Mapped(u"/v/a.mp4"), "/v/a.mp4");
  EXPECT_EQ(MapFileNameForOpen(std::u16string(5000, u'y')), nullptr);
  EXPECT_EQ(Mapped(u"/v/b.jpg"), "/v/b.jpg");
}

}  // namespace
