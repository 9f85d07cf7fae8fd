// The commands, options and exit statuses that `morvane-cli --help` (or `morvane --help`) prints, read out of its
// text, so that the manual page can be held against whatever the help says today.
#pragma once
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct HelpWords {
  std::vector<std::string> UsageLines;  // "morvane-cli copy DIR FILE...", blanks collapsed
  std::set<std::string> Commands;       // the lower-case words of the usage lines: list, rename, ...
  std::set<std::string> Options;        // every "-x" or "--word" anywhere in the text
  std::set<std::string> ExitStatuses;   // the numbers listed under "Exit status:"
};

// `program` is the name the usage lines begin with.
HelpWords ReadHelpWords(std::string_view help, std::string_view program = "morvane-cli");

// The text split into lines, without their line ends.
std::vector<std::string> Lines(std::string_view text);
// Leading and trailing blanks removed, every inner run of blanks made one blank.
std::string CollapseBlanks(std::string_view line);
// The first blank-separated word of the line ("" for a blank line).
std::string FirstWord(std::string_view line);
