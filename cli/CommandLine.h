// The command line of morvane-cli: a command, its options, then its operands, read by
// getopt_long from one table of options. Options may stand anywhere after the command and
// short ones bundle ("list -rn"); "--" ends the options, so a file whose name begins with
// "-" is given after it (or as "./-name"). "COMMAND --help" asks for that command's usage.
#pragma once
#include <string>
#include <vector>

#include "workflow/lookup/LookupPath.h"
#include "workflow/options/NamingRequest.h"

enum class TCliCommand { Help, Version, List, Rename, Copy, Info, Undo, Streams, Frames, Frame };

struct TCliArguments {
  TCliCommand Command = TCliCommand::Help;
  bool CommandHelp = false;         // COMMAND --help: show the command's usage, do nothing else
  bool DryRun = false;              // rename and copy: plan and report, change nothing
  bool Recursive = false;           // list, rename and copy: a FILE that is a folder is walked
  // list, rename and copy: how names are made and which rows are left alone, as written
  // (--format, --tz, --assume-tz, --shift, --shift-for, --skip-unset-dates, --set-mtime, --date-from-name,
  // --date-from-mtime, --unique, --replace, --no-companions).
  TNamingRequest Naming;
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
