#include <gtest/gtest.h>

#include "workflow/lookup/LineBuffer.h"

namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

class SplitIntoLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitIntoLinesTest, SplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitIntoLines(GetParam().text), GetParam().lines);
  TVectorLineBuffer buffer;
  buffer.SetText(GetParam().text);
  EXPECT_EQ(buffer.Lines(), GetParam().lines);
  ASSERT_EQ(buffer.Count(), GetParam().lines.size());
  for (std::size_t index = 0; index < buffer.Count(); ++index) EXPECT_EQ(buffer.Line(index), GetParam().lines[index]);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, SplitIntoLinesTest,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"OneLine", "abc", {"abc"}},
                      SplitCase{"CrLf", "a\r\nb\r\nc", {"a", "b", "c"}},
                      SplitCase{"LoneCr", "a\rb\rc", {"a", "b", "c"}},
                      SplitCase{"LoneLf", "a\nb\nc", {"a", "b", "c"}},
                      SplitCase{"Mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                      SplitCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
                      SplitCase{"TrailingBreakAddsNoLine", "a\r\n", {"a"}},
                      SplitCase{"EmptyLinesKept", "\r\n\r\na\n\n", {"", "", "a", ""}},
                      SplitCase{"BlanksKept", "  x  \r\n\t", {"  x  ", "\t"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineBufferTest, TextJoinsLinesWithLfAndSplitsBackToTheSameLines) {
  TVectorLineBuffer buffer;
  buffer.SetText("first\r\n  second : x\rthird\n");
  EXPECT_EQ(buffer.Text(), "first\n  second : x\nthird");
  TVectorLineBuffer copy;
  copy.SetText(buffer.Text());
  EXPECT_EQ(copy.Lines(), buffer.Lines());
}

TEST(LineBufferTest, ClearAndSetTextDiscardWhatWasThere) {
  TVectorLineBuffer buffer;
  buffer.SetText("a\nb\nc");
  buffer.SetText("d");
  EXPECT_EQ(buffer.Lines(), std::vector<std::string>{"d"});
  buffer.Clear();
  EXPECT_EQ(buffer.Count(), 0u);
  EXPECT_EQ(buffer.Text(), "");
}

}  // namespace
