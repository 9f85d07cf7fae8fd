#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Text/Format.h"

namespace {

using text::Format;
using text::FormatWithSeparator;

TEST(FormatTest, HexadecimalIsUpperCaseAndWidthPadsWithBlanks) {
  EXPECT_EQ(Format("%x", {255}), "FF");
  EXPECT_EQ(Format("%X", {0xabcdef}), "ABCDEF");
  EXPECT_EQ(Format("0x%04x", {1}), "0x   1");
  EXPECT_EQ(Format("0x%04x", {255}), "0x  FF");
  EXPECT_EQ(Format("0x%04X", {0x34363248}), "0x34363248");
}

TEST(FormatTest, PrecisionZeroPadsIntegers) {
  EXPECT_EQ(Format("[%.8x]", {255}), "[000000FF]");
  EXPECT_EQ(Format("%.2d:%.2d:%.2d.%.3d", {1, 2, 3, 4}), "01:02:03.004");
  EXPECT_EQ(Format("%.2d", {100}), "100");
  EXPECT_EQ(Format("%6.3d|", {7}), "   007|");
}

TEST(FormatTest, NegativeNumbers) {
  EXPECT_EQ(Format("%d", {-42}), "-42");
  EXPECT_EQ(Format("%.3d", {-5}), "-005");
  EXPECT_EQ(Format("%5d|", {-42}), "  -42|");
  EXPECT_EQ(Format("%d", {INT64_MIN}), "-9223372036854775808");
  // Hexadecimal shows the two's complement in the width of the argument's own type.
  EXPECT_EQ(Format("%x", {std::int32_t{-1}}), "FFFFFFFF");
  EXPECT_EQ(Format("%x", {std::int64_t{-2}}), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(FormatWithSeparator("%.2f", {-1.5}, '.'), "-1.50");
}

TEST(FormatTest, TextWidthAndJustification) {
  EXPECT_EQ(Format("  %-16s: %s", {"creation_time", "2020"}), "  creation_time   : 2020");
  EXPECT_EQ(Format("[%5s]", {"ab"}), "[   ab]");
  EXPECT_EQ(Format("[%-3d]", {7}), "[7  ]");
  EXPECT_EQ(Format("[%-2s]", {"longer"}), "[longer]");
  EXPECT_EQ(Format("[%.3s]", {"abcdef"}), "[abc]");
  EXPECT_EQ(Format("[%s]", {static_cast<const char*>(nullptr)}), "[]");
}

TEST(FormatTest, RealsUseTheGivenDecimalSeparator) {
  EXPECT_EQ(FormatWithSeparator("%3.2f", {1.5}, '.'), "1.50");
  EXPECT_EQ(FormatWithSeparator("[%7.2f]", {1.5}, ','), "[   1,50]");
  EXPECT_EQ(FormatWithSeparator("%.6f", {1.0 / 3}, '.'), "0.333333");
  EXPECT_EQ(FormatWithSeparator("%f", {2.0}, '.'), "2.00");
  EXPECT_EQ(FormatWithSeparator("%.2f", {1024.0}, ','), "1024,00");
}

TEST(FormatTest, MissingArgumentsAreWrittenAsTheyStand) {
  EXPECT_EQ(Format("%d and %s", {5}), "5 and %s");
  EXPECT_EQ(Format("%-16s|%.8x", {}), "%-16s|%.8x");
  EXPECT_EQ(Format("100%%", {}), "100%");
  EXPECT_EQ(Format("cut %", {1}), "cut %");
  EXPECT_EQ(Format("%d", {1, 2}), "1");
}

TEST(FormatTest, PointerHasTheFullWidth) {
  const std::string expected = std::string(sizeof(void*) * 2 - 4, '0') + "12AB";
  EXPECT_EQ(Format("%p", {reinterpret_cast<const void*>(std::uintptr_t{0x12ab})}), expected);
}

}  // namespace
