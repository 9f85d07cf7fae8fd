#include "cli/CliRunner.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <ostream>

#include "FFDecode/FFDecoder.h"
#include "FFLoad/LibraryVersions.h"
#include "cli/CommandLine.h"
#include "cli/Diagnostic.h"
#include "cli/ExitStatus.h"
#include "cli/HelpText.h"
#include "cli/InspectCommands.h"
#include "cli/OpenMediaFile.h"
#include "cli/PlanArguments.h"
#include "cli/ProgressLine.h"
#include "cli/RowOutput.h"
#include "cli/UndoCommand.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "workflow/MediaFolderWalk.h"
#include "workflow/RowResultText.h"
#include "workflow/UndoJournal.h"

namespace {

int RunInfo(const std::string& fileName, TCustomDecoder& decoder, std::ostream& out, std::ostream& err) {
  if (!OpenMediaFile(fileName, decoder, err) || decoder.StopRequested()) return ExitFailure;
  out << decoder.FileInfoText();
  decoder.CloseFile();
  return ExitSuccess;
}

// The folder of a copy must be there before any row is tried.
std::string CopyFolderProblem(const std::string& folder) {
  platform::FileStatus status;
  const int error = platform::QueryFileStatus(platform::NarrowToWide(folder), status);
  if (error != 0) return platform::ErrorText(error);
  return status.isDirectory ? std::string() : std::string("not a folder");
}

int RunList(const TRenamingWorkflow& workflow, bool explain, std::ostream& out, std::ostream& err) {
  int status = ExitSuccess;
  for (const TFileRow& row : workflow.Rows()) {
    out << FormatListLine(row, workflow.PlannedRenameName(row), explain);
    if (rowresult::IsUnreadable(row.ReadProblem)) {
      // The row keeps its three fields; the reason goes where people look for it.
      Diagnose(err, row.FileName, RowReasonText(row.ReadProblem));
      status = ExitFailure;
    }
  }
  return status;
}

// A date from a clock nobody set makes a name that misleads: say so before any row is done.
void WarnOfUnsetDates(const TRenamingWorkflow& workflow, std::ostream& err) {
  for (const TFileRow& row : workflow.Rows())
    if (row.DateLooksUnset)
      Diagnose(err, row.FileName, "date looks unset: " + row.CreationTime);
}

// "1768 copied (666 MiB), 12 skipped, 0 failed": how a copy ended, for people at a terminal.
std::string CopySummary(const std::vector<TFileRow>& rows, std::uint64_t copiedBytes) {
  std::size_t copied = 0;
  std::size_t skipped = 0;
  std::size_t failed = 0;
  for (const TFileRow& row : rows) {
    copied += row.Result.Kind == TRowKind::Done;
    skipped += row.Result.Kind == TRowKind::Skipped;
    failed += row.Result.Kind == TRowKind::Failed;
  }
  return std::to_string(copied) + " copied (" + SizeText(copiedBytes) + "), " + std::to_string(skipped) +
         " skipped, " + std::to_string(failed) + " failed\n";
}

// Runs a rename or copy and writes each row as soon as it is done, so that a run that is
// stopped half-way still shows what it did.
int RunAndWriteRows(TRenamingWorkflow& workflow, const std::function<void()>& run, std::ostream& out) {
  int status = ExitSuccess;
  workflow.OnRowDone = [&](const TFileRow& row) {
    out << FormatResultLine(row) << std::flush;
    if (row.Result.Kind == TRowKind::Failed || rowresult::IsUnreadable(row.Result)) status = ExitFailure;
  };
  run();
  workflow.OnRowDone = nullptr;
  return status;
}

int RunCommand(const TCliArguments& command, TRenamingWorkflow& workflow, TFFDecoder& decoder,
               const TCliStreams& streams) {
  std::ostream& out = streams.Out;
  std::ostream& err = streams.Err;
  if (command.Command == TCliCommand::Help) {
    out << HelpText();
    return ExitSuccess;
  }
  if (command.CommandHelp) {
    out << CommandUsage(command.Command);
    return ExitSuccess;
  }
  if (command.Command == TCliCommand::Streams || command.Command == TCliCommand::Frames ||
      command.Command == TCliCommand::Frame)
    return RunInspectCommand(command, decoder, out, err);
  // Undo moves files back by name only; it needs no media library.
  if (command.Command == TCliCommand::Undo)
    return command.ListRuns ? ListUndoRuns(out, err) : RunUndo(command.RunId, out, err);
  if (command.Command == TCliCommand::Copy) {
    if (const std::string problem = CopyFolderProblem(command.Folder); !problem.empty()) {
      Diagnose(err, command.Folder, problem);
      return ExitUsageOrLibraries;
    }
  }
  if (!workflow.EnsureLibraries()) {
    Diagnose(err, {}, workflow.LibraryError());
    return ExitUsageOrLibraries;
  }
  if (command.Command == TCliCommand::Version) {
    out << "morvane-cli " << MORVANE_VERSION << '\n' << LibraryVersionLines();
    return ExitSuccess;
  }
  if (command.Command == TCliCommand::Info) return RunInfo(command.Files.front(), decoder, out, err);

  TProgressLine progress(err, streams.ErrIsTerminal);
  workflow.OnProgress = [&](std::size_t index, std::size_t count, const std::string&) { progress.Show(index, count); };
  progress.SetVerb("Reading");
  workflow.LookupPath = command.LookupPath;
  workflow.Workers = WorkerCount(command);
  const TFolderWalk selection = command.Recursive ? ExpandFolders(command.Files) : TFolderWalk{command.Files, {}};
  workflow.SelectFiles(selection.Files);
  progress.Clear();
  if (!workflow.WorkerShortfall().empty()) Diagnose(err, {}, workflow.WorkerShortfall());
  WarnOfUnsetDates(workflow, err);
  const TRunMode mode = command.DryRun ? TRunMode::DryRun : TRunMode::Real;
  workflow.SetUniqueNames(command.Unique);
  workflow.SetCopyReplaces(command.Replace);
  int status = ExitSuccess;
  switch (command.Command) {
    case TCliCommand::List:
      status = RunList(workflow, command.Explain, out, err);
      break;
    case TCliCommand::Rename:
      progress.SetVerb(command.DryRun ? "Checking" : "Renaming");
      workflow.KeepJournal(DefaultJournalPath());
      status = RunAndWriteRows(workflow, [&] { workflow.RenameFiles(mode); }, out);
      break;
    case TCliCommand::Copy: {
      progress.SetVerb(command.DryRun ? "Checking" : "Copying");
      std::uint64_t copiedBytes = 0;
      workflow.OnCopyBytes = [&](std::uint64_t done, std::uint64_t total) {
        copiedBytes = done;
        progress.SetBytes(done, total);
      };
      status = RunAndWriteRows(workflow, [&] { workflow.CopyFiles(command.Folder, mode); }, out);
      workflow.OnCopyBytes = nullptr;
      progress.Clear();
      if (streams.ErrIsTerminal && !command.DryRun) err << CopySummary(workflow.Rows(), copiedBytes);
      break;
    }
    default:
      status = ExitUsageOrLibraries;
  }
  progress.Clear();
  workflow.OnProgress = nullptr;
  // A folder that could not be read hides files that got no row: that is no success.
  for (const std::string& problem : selection.Problems) Diagnose(err, {}, problem);
  if (!selection.Problems.empty() && status == ExitSuccess) status = ExitFailure;
  // The files are renamed all the same; the journal's trouble is told once.
  if (!workflow.JournalFailure().empty()) Diagnose(err, {}, workflow.JournalFailure());
  return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, TRenamingWorkflow& workflow, TFFDecoder& decoder,
           const TCliStreams& streams) {
  const TParsedCommandLine parsed = ParseCommandLine(arguments);
  std::string error = parsed.Error;
  std::optional<TPlanOptions> planOptions;
  if (parsed.Valid) planOptions = PlanOptionsFrom(parsed.Arguments, error);
  if (!planOptions) {
    Diagnose(streams.Err, parsed.Subject, error);
    streams.Err << "Try 'morvane-cli --help'.\n";
    return ExitUsageOrLibraries;
  }
  workflow.SetPlanOptions(std::move(*planOptions));
  errno = 0;
  const int status = RunCommand(parsed.Arguments, workflow, decoder, streams);
  // Output that did not arrive is a failure, whatever the rows said.
  if (!streams.Out.flush()) {
    Diagnose(streams.Err, {}, "cannot write to standard output: " + platform::ErrorText(errno ? errno : EIO));
    return status == ExitUsageOrLibraries ? status : ExitFailure;
  }
  return status;
}
