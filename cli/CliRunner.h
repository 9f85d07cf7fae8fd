// Runs one morvane-cli command line over the renaming workflow and writes its output.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "workflow/RenamingWorkflow.h"

class TFFDecoder;

struct TCliStreams {
  std::ostream& Out;
  std::ostream& Err;
  bool ErrIsTerminal = false;  // progress goes to standard error on a terminal only
};

// `arguments` without the program name; `decoder` is the one the workflow uses. Returns
// the exit status (cli/ExitStatus.h).
int RunCli(const std::vector<std::string>& arguments, TRenamingWorkflow& workflow, TFFDecoder& decoder,
           const TCliStreams& streams);
