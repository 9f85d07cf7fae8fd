// The window program's command line: files in order, "--" ending the options, and the first
// option deciding what happens.
#include <gtest/gtest.h>

#include "window/StartArguments.h"

namespace {

using TAction = TStartArguments::TAction;

TEST(StartArgumentsTest, FilesComeInOrderAndAfterTwoDashesEvenADashedNameIsAFile) {
  const TStartArguments start = ParseStartArguments({"a.mp4", "-", "/v/b c.mov", "--", "--help", "-x.mp4"});
  EXPECT_EQ(start.Action, TAction::OpenWindow);
  EXPECT_EQ(start.Paths, (std::vector<std::string>{"a.mp4", "-", "/v/b c.mov", "--help", "-x.mp4"}));
  EXPECT_EQ(ParseStartArguments({}).Action, TAction::OpenWindow);
}

TEST(StartArgumentsTest, HelpVersionOrAnUnknownOptionOpenNoWindow) {
  EXPECT_EQ(ParseStartArguments({"a.mp4", "-h"}).Action, TAction::Help);
  EXPECT_EQ(ParseStartArguments({"--version", "--help"}).Action, TAction::Version);
  const TStartArguments wrong = ParseStartArguments({"a.mp4", "--recursive", "--help"});
  EXPECT_EQ(wrong.Action, TAction::UsageError);
  EXPECT_EQ(wrong.Error, "unknown option '--recursive'");
  EXPECT_TRUE(wrong.Paths.empty()) << "nothing is opened";
}

}  // namespace
