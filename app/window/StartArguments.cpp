#include "window/StartArguments.h"

TStartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
  TStartArguments parsed;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (optionsEnded || argument.empty() || argument.front() != '-' || argument == "-") {
      parsed.Paths.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      return {TStartArguments::TAction::Help, {}, {}};
    } else if (argument == "--version") {
      return {TStartArguments::TAction::Version, {}, {}};
    } else {
      return {TStartArguments::TAction::UsageError, {}, "unknown option '" + argument + "'"};
    }
  }
  return parsed;
}

const std::string& StartHelpText() {
  static const std::string text =
      "Usage:\n"
      "  morvane [--] [FILE...]\n"
      "  morvane --help\n"
      "  morvane --version\n"
      "\n"
      "Opens the Morvane window, which renames media files, or copies them into a folder,\n"
      "under the creation time that each file's own container metadata records. The\n"
      "FILEs given, and the media files in the folders given, are listed and read at\n"
      "once, as if they had been picked with \"Select file(s)\"; the list then shows the\n"
      "name each file would get, and nothing changes on disk until Rename or Copy.\n"
      "\n"
      "Options:\n"
      "  -h, --help   Shows this help and ends.\n"
      "  --version    Shows the program's version and ends.\n"
      "  --           Every argument after it is a file, even one that begins with \"-\".\n"
      "\n"
      "Exit status:\n"
      "  0  The window was closed, or the help or the version was shown.\n"
      "  2  The command line was not understood; the window did not open.\n"
      "\n"
      "morvane-cli(1) does the same work from a terminal.\n";
  return text;
}
