#include <gtest/gtest.h>

#include "workflow/lookup/CreationTimeText.h"

namespace {

TEST(ReplaceAllTest, ReplacesEveryOccurrenceLeftToRightCaseSensitively) {
  EXPECT_EQ(ReplaceAll("a : b : c", " : ", " = "), "a = b = c");
  EXPECT_EQ(ReplaceAll(" :  : ", " : ", " = "), " =  = ");
  // Left to right without overlap: " : : " holds one match, then ": ".
  EXPECT_EQ(ReplaceAll(" : : ", " : ", " = "), " = : ");
  EXPECT_EQ(ReplaceAll("2015-06-01T10:20:30", ":", "_"), "2015-06-01T10_20_30");
  EXPECT_EQ(ReplaceAll("aAa", "a", "b"), "bAb");
  EXPECT_EQ(ReplaceAll("", ":", "_"), "");
}

class FindKeyValueTest : public ::testing::Test {
 protected:
  std::string Find(std::string_view text) {
    buffer.SetText(text);
    return FindKeyValue(buffer, CreationTimeKey());
  }
  TVectorLineBuffer buffer;
};

TEST_F(FindKeyValueTest, TakesEverythingBehindTheFirstEquals) {
  EXPECT_EQ(Find("Metadata:\n  creation_time   = 2015-06-01T10:20:30Z"), " 2015-06-01T10:20:30Z");
  EXPECT_EQ(Find("  creation_time   = a = b=c "), " a = b=c ");
  EXPECT_EQ(Find("  creation_time   ="), "");
}

TEST_F(FindKeyValueTest, IgnoresLetterCaseButNotBlanks) {
  EXPECT_EQ(Find("  CREATION_TIME   = x"), " x");
  EXPECT_EQ(Find("  Creation_Time   = y"), " y");
  EXPECT_EQ(Find("    creation_time   = stream"), "");
  EXPECT_EQ(Find("  creation_time    = four blanks behind"), "");
  EXPECT_EQ(Find(" creation_time   = one blank in front"), "");
  EXPECT_EQ(Find("  creation_time  = two blanks behind"), "");
  EXPECT_EQ(Find("  creation_time   : not replaced"), "");
}

TEST_F(FindKeyValueTest, FirstMatchingLineWins) {
  EXPECT_EQ(Find("    creation_time   = stream\n  creation_time   = first\n  creation_time   = second"), " first");
}

TEST_F(FindKeyValueTest, TheFirstEqualsOfALineDecides) {
  // The part in front of the first "=" is "a", so this line does not match.
  EXPECT_EQ(Find("a=  creation_time   = x"), "");
}

}  // namespace
