#include "cli/CliRunner.h"

#include <functional>
#include <ostream>

#include "cli/CommandLine.h"
#include "FFDecode/CustomDecoder.h"
#include "cli/HelpText.h"
#include "cli/RowOutput.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

int RunInfo(const std::string& fileName, TCustomDecoder& decoder, std::ostream& out, std::ostream& err) {
  // A pipe or a device would block the open for ever; folders and missing names are left
  // to the libraries, whose message says what is wrong.
  platform::FileStatus status;
  if (platform::GetFileStatus(platform::NarrowToWide(fileName), status) && !status.isRegularFile &&
      !status.isDirectory) {
    err << fileName << ": not a regular file\n";
    return ExitFailure;
  }
  if (!decoder.LoadFile(platform::NarrowToWide(fileName))) {
    err << decoder.LastErrMsg() << '\n';
    return ExitFailure;
  }
  out << decoder.FileInfoText();
  decoder.CloseFile();
  return ExitSuccess;
}

// Runs a rename or copy and writes each row as soon as it is done, so that a run that is
// stopped half-way still shows what it did.
int RunAndWriteRows(TRenamingWorkflow& workflow, const std::function<void()>& run, std::ostream& out) {
  int status = ExitSuccess;
  workflow.OnRowDone = [&](const TFileRow& row) {
    out << FormatResultLine(row) << std::flush;
    if (row.Result.Kind == TRowKind::Failed) status = ExitFailure;
  };
  run();
  workflow.OnRowDone = nullptr;
  return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, TRenamingWorkflow& workflow, TCustomDecoder& decoder,
           std::ostream& out, std::ostream& err) {
  const TParsedCommandLine parsed = ParseCommandLine(arguments);
  if (!parsed.Valid) {
    err << "morvane-cli: " << parsed.Error << "\nTry 'morvane-cli --help'.\n";
    return ExitUsageOrLibraries;
  }
  const TCliArguments& command = parsed.Arguments;
  if (command.Command == TCliCommand::Help) {
    out << HelpText();
    return ExitSuccess;
  }
  if (!workflow.EnsureLibraries()) {
    err << workflow.LibraryError() << '\n';
    return ExitUsageOrLibraries;
  }
  if (command.Command == TCliCommand::Info) return RunInfo(command.Files.front(), decoder, out, err);

  workflow.SelectFiles(command.Files);
  switch (command.Command) {
    case TCliCommand::List:
      for (const TFileRow& row : workflow.Rows()) out << FormatListLine(row, workflow.PlannedRenameName(row));
      return ExitSuccess;
    case TCliCommand::Rename:
      return RunAndWriteRows(workflow, [&] { workflow.RenameFiles(); }, out);
    case TCliCommand::Copy:
      return RunAndWriteRows(workflow, [&] { workflow.CopyFiles(command.Folder); }, out);
    default:
      return ExitUsageOrLibraries;
  }
}
