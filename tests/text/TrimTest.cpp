// Trimming blanks and control characters off the system's texts.
#include <gtest/gtest.h>

#include "Text/Trim.h"

namespace {

TEST(TrimControlsTest, RemovesBlanksAndControlsAtBothEndsOnly) {
  EXPECT_EQ(text::TrimControls(" \t\r\n\x01 a \t b\x1f \x7f\r\n"), std::string("a \t b\x1f \x7f"));
  EXPECT_EQ(text::TrimControls("\x20\x20"), "");
  EXPECT_EQ(text::TrimControls(""), "");
  EXPECT_EQ(text::TrimControls("x"), "x");
}

TEST(TrimControlsTest, KeepsMultiByteCharactersAtTheEnds) {
  // UTF-8 bytes are above 127; read as signed characters they would count as controls.
  EXPECT_EQ(text::TrimControls(" \xC3\xA4" "2015\xE6\x97\xA5 "), "\xC3\xA4" "2015\xE6\x97\xA5");
}

}  // namespace
