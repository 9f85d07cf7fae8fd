// The window program's command line: morvane [--] [FILE...], morvane --help, morvane --version.
// The files (and the media files in folders given) are listed and read at start, as a file
// manager's "Open with" hands them over.
#pragma once
#include <string>
#include <vector>

struct TStartArguments {
  enum class TAction { OpenWindow, Help, Version, UsageError };
  TAction Action = TAction::OpenWindow;
  std::vector<std::string> Paths;  // as given, in order
  std::string Error;               // for UsageError: what is wrong
};

// `arguments` without the program's name.
TStartArguments ParseStartArguments(const std::vector<std::string>& arguments);

// The text of morvane --help.
const std::string& StartHelpText();
