// Runs one morvane-cli command line over the renaming workflow and writes its output.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "workflow/RenamingWorkflow.h"

class TCustomDecoder;

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsageOrLibraries = 2;

struct TCliStreams {
  std::ostream& Out;
  std::ostream& Err;
  bool ErrIsTerminal = false;  // progress goes to standard error on a terminal only
};

// `arguments` without the program name; `decoder` is the one the workflow uses. Returns
// the exit status.
int RunCli(const std::vector<std::string>& arguments, TRenamingWorkflow& workflow, TCustomDecoder& decoder,
           const TCliStreams& streams);
