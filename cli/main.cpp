// morvane-cli: the renaming workflow without a window. Composition only; the work is in
// CliRunner and the workflow.
#include <atomic>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "cli/Diagnostic.h"
#include "cli/ExitStatus.h"
#include "platform/System.h"
#include "workflow/lookup/LineBuffer.h"
#include "workflow/RenamingWorkflow.h"

int main(int argc, char** argv) {
  // An interrupt ends the run cleanly: no further row, no partial copy, the done rows shown.
  static std::atomic<int> caughtSignal{0};
  static std::atomic<bool> stopRequested{false};
  platform::CatchStopSignals(caughtSignal, stopRequested);
  platform::IgnoreFileSizeLimitSignal();
  platform::UseUtf8StandardStreams();
  try {
    FFLogUnit logUnit;
    FFLoadUnit loadUnit;
    TFFDecoder decoder;
    TVectorLineBuffer lines;
    TRenamingWorkflow workflow(decoder, lines);
    workflow.SetStopFlag(&stopRequested);
    const std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
    const int status =
        RunCli(arguments, workflow, decoder, TCliStreams{std::cout, std::cerr, platform::StandardErrorIsTerminal()});
    std::cout.flush();
    if (caughtSignal.load() != 0) return platform::ExitStatusForSignal(caughtSignal.load());
    return status;
  } catch (const std::exception& error) {
    Diagnose(std::cerr, {}, error.what());
    return ExitFailure;
  }
}
