// A matcher of a whole string by an ECMAScript regular expression, the same on every
// system: googletest built for Windows knows only its simple expressions (no "[0-9]", no
// "{8}").
#pragma once
#include <gmock/gmock.h>

#include <regex>
#include <string>

MATCHER_P(MatchesWholeRegex, pattern, "matches the regular expression " + ::testing::PrintToString(pattern)) {
  return std::regex_match(std::string(arg), std::regex(pattern));
}
