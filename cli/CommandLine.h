// The command line of morvane-cli: a command, its options, then its operands, read by
// getopt_long from one table of options. Options may stand anywhere after the command and
// short ones bundle ("list -rn"); "--" ends the options, so a file whose name begins with
// "-" is given after it (or as "./-name"). "COMMAND --help" asks for that command's usage.
#pragma once
#include <string>
#include <vector>

#include "workflow/lookup/LookupPath.h"

enum class TCliCommand { Help, Version, List, Rename, Copy, Info, Undo, Streams, Frames, Frame };

struct TCliArguments {
  TCliCommand Command = TCliCommand::Help;
  bool CommandHelp = false;         // COMMAND --help: show the command's usage, do nothing else
  bool DryRun = false;              // rename and copy: plan and report, change nothing
  bool Unique = false;              // rename and copy: "_1", "_2", ... instead of meeting a taken name
  bool Replace = false;             // copy: a different file at the target name is replaced
  bool NoCompanions = false;        // rename and copy: sidecars and Live Photo clips stay where they are
  bool Recursive = false;           // list, rename and copy: a FILE that is a folder is walked
  // list, rename and copy: how names are made and which rows are left alone.
  std::string Format;               // --format PATTERN; empty: the stored creation time
  std::string Tz;                   // --tz ZONE; empty: no conversion
  std::string AssumeTz;             // --assume-tz ZONE; empty: times are read as written
  bool SkipUnsetDates = false;      // --skip-unset-dates
  bool SetMtime = false;            // rename and copy --set-mtime
  bool DateFromName = false;        // --date-from-name: a date in the file's name when the file holds none
  bool DateFromMtime = false;       // --date-from-mtime: the modification time when nothing else gives one
  bool Explain = false;             // list --explain: source and raw text of each creation time
  // list, rename and copy: how creation times are read.
  TLookupPath LookupPath = TLookupPath::HeaderFirst;
  unsigned Jobs = 0;                // 0: one per processor
  std::string Folder;               // copy only
  bool ListRuns = false;            // undo --list
  std::string RunId;                // undo RUN; empty: the most recent run not undone
  bool Backward = false;            // frames --backward
  bool Keys = false;                // frames --keys
  std::string Seconds;              // frame SECONDS, as written
  std::string Output;               // frame OUT
  std::vector<std::string> Files;   // one for info, streams, frames and frame; one or more for the others
};

struct TParsedCommandLine {
  bool Valid = false;
  TCliArguments Arguments;
  std::string Subject;  // the command the error is about, when there is one
  std::string Error;    // what is wrong, when not valid
};

// `arguments` without the program name.
TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage lines of every command, one per line, each beginning "  morvane-cli ".
std::string UsageLines();
// What "COMMAND --help" prints: the command's usage line and its options.
std::string CommandUsage(TCliCommand command);

// The number of worker threads the arguments ask for: Jobs, or one per processor.
unsigned WorkerCount(const TCliArguments& arguments);
