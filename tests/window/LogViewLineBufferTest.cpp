#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "window/LogViewLineBuffer.h"

namespace {

class LogViewLineBufferTest : public ::testing::Test {
 protected:
  QString Shown() const { return view.toPlainText(); }
  QPlainTextEdit view{QStringLiteral("mmoLog")};
  TLogViewLineBuffer buffer{view};
};

TEST_F(LogViewLineBufferTest, StartsWithTheViewsLines) {
  ASSERT_EQ(buffer.Count(), 1u);
  EXPECT_EQ(buffer.Line(0), "mmoLog");
}

TEST_F(LogViewLineBufferTest, TheViewCatchesUpWhenAskedAndBeforeAnAddition) {
  buffer.SetText("a : 1\r\nb = 2\r\n");
  EXPECT_EQ(buffer.Count(), 2u);
  EXPECT_EQ(buffer.Line(1), "b = 2");
  buffer.ShowLines();
  EXPECT_EQ(Shown(), "a : 1\nb = 2");

  buffer.Clear();
  buffer.Add("#1.5: x");
  EXPECT_EQ(Shown(), "#1.5: x") << "the cleared lines are gone from the view as well";
  buffer.SetText("c");
  buffer.Add("two\nlines");
  buffer.Add("");
  EXPECT_EQ(Shown(), "c\ntwo\nlines\n");
  ASSERT_EQ(buffer.Count(), 4u);
  EXPECT_EQ(buffer.Line(3), "") << "an empty entry is an empty line";
  EXPECT_EQ(buffer.Text(), "c\ntwo\nlines\n");
}

TEST_F(LogViewLineBufferTest, BytesThatAreNotUtf8ComeBackAsTheyWereWritten) {
  buffer.SetText("name = caf\xE9.mp4");
  buffer.ShowLines();
  EXPECT_EQ(buffer.Line(0), "name = caf\xE9.mp4");
  EXPECT_TRUE(Shown().startsWith("name = caf")) << "the view shows what it can";
}

}  // namespace
