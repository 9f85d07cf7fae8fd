// The command line of morvane-cli: a command, its options, then its operands. An argument
// that begins with "-" is an option, wherever it stands, unless it follows "--"; so a file
// whose name begins with "-" is given after "--" (or as "./-name").
#pragma once
#include <string>
#include <vector>

enum class TCliCommand { Help, Version, List, Rename, Copy, Info };

struct TCliArguments {
  TCliCommand Command = TCliCommand::Help;
  bool DryRun = false;              // rename and copy: plan and report, change nothing
  bool Unique = false;              // rename and copy: "_1", "_2", ... instead of meeting a taken name
  // list, rename and copy: how names are made and which rows are left alone.
  std::string Format;               // --format PATTERN; empty: the stored creation time
  std::string Tz;                   // --tz ZONE; empty: no conversion
  std::string AssumeTz;             // --assume-tz ZONE; empty: times are read as written
  bool SkipUnsetDates = false;      // --skip-unset-dates
  bool Explain = false;             // list --explain: source and raw text of each creation time
  std::string Folder;               // copy only
  std::vector<std::string> Files;  // one for info, one or more for the others
};

struct TParsedCommandLine {
  bool Valid = false;
  TCliArguments Arguments;
  std::string Error;  // what is wrong, when not valid
};

// `arguments` without the program name.
TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);
