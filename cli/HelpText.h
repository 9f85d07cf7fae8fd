#pragma once
#include <string>

// What `morvane-cli --help` prints.
const std::string& HelpText();
