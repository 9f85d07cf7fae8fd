#pragma once
#include <string_view>

// What `morvane-cli --help` prints.
std::string_view HelpText();
