// morvane-cli: the renaming workflow without a window. Composition only; the work is in
// CliRunner and the workflow.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "FFDecode/CustomDecoder.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "workflow/LineBuffer.h"
#include "workflow/RenamingWorkflow.h"

int main(int argc, char** argv) {
  try {
    FFLogUnit logUnit;
    FFLoadUnit loadUnit;
    TFFDecoder decoder;
    TVectorLineBuffer lines;
    TRenamingWorkflow workflow(decoder, lines);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status = RunCli(arguments, workflow, decoder, std::cout, std::cerr);
    std::cout.flush();
    return status;
  } catch (const std::exception& error) {
    std::cerr << "morvane-cli: " << error.what() << '\n';
    return ExitFailure;
  }
}
