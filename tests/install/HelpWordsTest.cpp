#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "install/HelpWords.h"

namespace {

using ::testing::ElementsAre;

// The forms a help text takes when commands and options are added: options in the usage
// lines, short and long spellings side by side, a command with a hyphen.
TEST(HelpWordsTest, ReadsCommandsOptionsAndExitStatusesInTheUsualForms) {
  const HelpWords words = ReadHelpWords(
      "Usage:\n"
      "  morvane-cli [-n|--dry-run]   rename FILE...\n"
      "  morvane-cli frame-at TIME FILE\n"
      "  morvane-cli --version\n"
      "\n"
      "The name of 2015-06-01T10:20:30 is kept; an argument may begin with \"-\".\n"
      "Options:\n"
      "  -q, --quiet        says less\n"
      "  -o/--output=DIR    writes there\n"
      "\n"
      "Exit status:\n"
      "  0  done\n"
      "  3  the media libraries cannot be loaded, so nothing\n"
      "     was done\n"
      "Trailing text 4\n");
  EXPECT_THAT(words.UsageLines, ElementsAre("morvane-cli [-n|--dry-run] rename FILE...",
                                            "morvane-cli frame-at TIME FILE", "morvane-cli --version"));
  EXPECT_THAT(words.Commands, ElementsAre("frame-at", "rename"));
  EXPECT_THAT(words.Options, ElementsAre("--dry-run", "--output", "--quiet", "--version", "-n", "-o", "-q"));
  EXPECT_THAT(words.ExitStatuses, ElementsAre("0", "3"));
}

}  // namespace
