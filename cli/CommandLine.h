// The command line of morvane-cli: a command, its options, then its operands. An argument
// that begins with "-" is an option, wherever it stands, unless it follows "--"; so a file
// whose name begins with "-" is given after "--" (or as "./-name").
#pragma once
#include <string>
#include <vector>

#include "cli/LookupOptions.h"

enum class TCliCommand { Help, Version, List, Rename, Copy, Info, Undo };

struct TCliArguments {
  TCliCommand Command = TCliCommand::Help;
  bool DryRun = false;              // rename and copy: plan and report, change nothing
  bool Unique = false;              // rename and copy: "_1", "_2", ... instead of meeting a taken name
  bool NoCompanions = false;        // rename and copy: sidecars and Live Photo clips stay where they are
  bool Recursive = false;           // list, rename and copy: a FILE that is a folder is walked
  // list, rename and copy: how names are made and which rows are left alone.
  std::string Format;               // --format PATTERN; empty: the stored creation time
  std::string Tz;                   // --tz ZONE; empty: no conversion
  std::string AssumeTz;             // --assume-tz ZONE; empty: times are read as written
  bool SkipUnsetDates = false;      // --skip-unset-dates
  bool DateFromName = false;        // --date-from-name: a date in the file's name when the file holds none
  bool DateFromMtime = false;       // --date-from-mtime: the modification time when nothing else gives one
  bool Explain = false;             // list --explain: source and raw text of each creation time
  std::string Folder;               // copy only
  bool ListRuns = false;            // undo --list
  std::string RunId;                // undo RUN; empty: the most recent run not undone
  std::vector<std::string> Files;  // one for info, one or more for the others
  TLookupOptions Lookup;            // list, rename and copy: how creation times are read
};

struct TParsedCommandLine {
  bool Valid = false;
  TCliArguments Arguments;
  std::string Error;  // what is wrong, when not valid
};

// `arguments` without the program name.
TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);
