#include "cli/CliRunner.h"

#include <cerrno>
#include <chrono>
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
#include "cli/RunArguments.h"
#include "cli/ProgressLine.h"
#include "cli/RowOutput.h"
#include "cli/UndoCommand.h"
#include "platform/FileSystem.h"
#include "workflow/files/MediaFolderWalk.h"
#include "workflow/rows/RunCounts.h"
#include "workflow/undo/UndoJournal.h"

namespace {

// The report's lines end in CR LF; a text file on this system ends its lines in LF alone.
std::string WithSystemLineEnds(const std::string& text) {
#ifdef _WIN32
  return text;
#else
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) result += text[i];
  return result;
#endif
}

int RunInfo(const std::string& fileName, TCustomDecoder& decoder, std::ostream& out, std::ostream& err) {
  if (!OpenMediaFile(fileName, decoder, err) || decoder.StopRequested()) return ExitFailure;
  out << WithSystemLineEnds(decoder.FileInfoText());
  decoder.CloseFile();
  return ExitSuccess;
}

// The folder of a copy must be there before any row is tried.
std::string CopyFolderProblem(const std::string& folder) {
  platform::FileStatus status;
  const int error = platform::QueryFileStatus(folder, status);
  if (error != 0) return platform::ErrorText(error);
  return status.isDirectory ? std::string() : std::string("not a folder");
}

// A date from a clock nobody set makes a name that misleads: said beside its row.
void WarnIfDateLooksUnset(const TFileRow& row, std::ostream& err) {
  if (row.DateLooksUnset) Diagnose(err, row.FileName, "date looks unset: " + row.CreationTime);
}

int RunList(const TRenamingWorkflow& workflow, bool explain, std::ostream& out, std::ostream& err) {
  int status = ExitSuccess;
  const std::vector<std::string> newNames = workflow.PlannedRenameNames();
  for (std::size_t index = 0; index < workflow.Rows().size(); ++index) {
    const TFileRow& row = workflow.Rows()[index];
    const std::chrono::seconds shift = workflow.Options().Plan.Naming.ShiftFor(row.Camera.Model);
    out << FormatListLine(row, newNames[index], explain, shift) << std::flush;
    WarnIfDateLooksUnset(row, err);
    if (rowresult::IsUnreadable(row.ReadProblem)) {
      // The row keeps its three fields; the reason goes where people look for it.
      Diagnose(err, row.FileName, CliReasonText(row.ReadProblem));
      status = ExitFailure;
    }
  }
  return status;
}

// "136 renamed, 1144 skipped, 0 failed", "1768 copied (+12 companions) (666 MiB), 12
// skipped, 0 failed" or a dry run's "3 would be renamed, ...": how a run ended, for people at
// a terminal.
std::string SummaryLine(const TRunCounts& counts, TCliCommand command, bool dryRun, std::uint64_t copiedBytes) {
  const bool copy = command == TCliCommand::Copy;
  std::string done = std::to_string(counts.Done) +
                     (copy ? (dryRun ? " would be copied" : " copied") : (dryRun ? " would be renamed" : " renamed")) +
                     CompanionCountText(counts.Companions);
  if (copy && !dryRun) done += " (" + SizeText(copiedBytes) + ")";
  return done + ", " + std::to_string(counts.Skipped) + " skipped, " + std::to_string(counts.Failed) + " failed\n";
}

// Runs a rename or copy and writes each row as soon as it is done, so that a run that is
// stopped half-way still shows what it did. The progress line is cleared before each row.
int RunAndWriteRows(TRenamingWorkflow& workflow, const std::function<void()>& run, TProgressLine& progress,
                    TRunCounts& counts, std::ostream& out, std::ostream& err) {
  int status = ExitSuccess;
  workflow.OnRowDone = [&](const TFileRow& row) {
    progress.Clear();
    out << FormatResultLine(row) << std::flush;
    WarnIfDateLooksUnset(row, err);
    counts.Add(row.Result);
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
      return ExitNoCopyFolder;
    }
  }
  // The version answers also where the libraries cannot be loaded: it says why.
  if (command.Command == TCliCommand::Version) {
    workflow.EnsureLibraries();
    out << "morvane-cli " << MORVANE_VERSION << '\n' << LibraryVersionLines();
    return ExitSuccess;
  }
  if (!workflow.EnsureLibraries()) {
    Diagnose(err, {}, workflow.LibraryError());
    return ExitNoLibraries;
  }
  if (command.Command == TCliCommand::Info) return RunInfo(command.Files.front(), decoder, out, err);

  TProgressLine progress(err, streams.ErrIsTerminal);
  workflow.OnProgress = [&](std::size_t index, std::size_t count, const std::string&) { progress.Show(index, count); };
  progress.SetVerb("Reading");
  const TFolderWalk selection = command.Recursive ? ExpandFolders(command.Files) : TFolderWalk{command.Files, {}, {}};
  workflow.SelectFiles(selection.Files);
  progress.Clear();
  if (!workflow.WorkerShortfall().empty()) Diagnose(err, {}, workflow.WorkerShortfall());
  const TRunMode mode = command.DryRun ? TRunMode::DryRun : TRunMode::Real;
  int status = ExitSuccess;
  TRunCounts counts;
  std::string journalWarning;  // told before renaming, and so not again after
  switch (command.Command) {
    case TCliCommand::List:
      status = RunList(workflow, command.Explain, out, err);
      counts.Done = workflow.Rows().size();
      break;
    case TCliCommand::Rename:
      progress.SetVerb(command.DryRun ? "Checking" : "Renaming");
      if (!command.DryRun) journalWarning = JournalMissingWarning(workflow.Options().JournalPath);
      if (!journalWarning.empty()) Diagnose(err, {}, journalWarning);
      status = RunAndWriteRows(workflow, [&] { workflow.RenameFiles(mode); }, progress, counts, out, err);
      break;
    case TCliCommand::Copy:
      progress.SetVerb(command.DryRun ? "Checking" : "Copying");
      workflow.OnCopyBytes = [&](std::uint64_t done, std::uint64_t total) { progress.SetBytes(done, total); };
      status = RunAndWriteRows(workflow, [&] { workflow.CopyFiles(command.Folder, mode); }, progress, counts, out, err);
      workflow.OnCopyBytes = nullptr;
      break;
    default:
      status = ExitUsage;
  }
  progress.Clear();
  workflow.OnProgress = nullptr;
  // A folder that could not be read hides files that got no row: that is no success.
  for (const std::string& problem : selection.Problems) Diagnose(err, {}, problem);
  if (const std::string leftOut = LeftOutText(selection); !leftOut.empty()) Diagnose(err, {}, leftOut);
  if (!selection.Problems.empty() && status == ExitSuccess) status = ExitFailure;
  // The files are renamed all the same; the journal's trouble is told once.
  if (!workflow.JournalFailure().empty() && workflow.JournalFailure() != journalWarning)
    Diagnose(err, {}, workflow.JournalFailure());
  if (command.Command == TCliCommand::Copy)
    for (const std::string& notice : workflow.CopyNotices()) Diagnose(err, {}, notice);
  // Files the run never reached are not its failures: one line says where it stopped.
  if (workflow.StopRequested())
    Diagnose(err, {},
             "interrupted after " + std::to_string(counts.Reached()) + " of " + std::to_string(selection.Files.size()) +
                 " files");
  if (streams.ErrIsTerminal && command.Command != TCliCommand::List)
    err << SummaryLine(counts, command.Command, command.DryRun, workflow.CopiedBytes());
  return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, TRenamingWorkflow& workflow, TFFDecoder& decoder,
           const TCliStreams& streams) {
  const TParsedCommandLine parsed = ParseCommandLine(arguments);
  std::string error = parsed.Error;
  std::optional<TRunOptions> runOptions;
  if (parsed.Valid) runOptions = RunOptionsFrom(parsed.Arguments, error);
  if (!runOptions) {
    Diagnose(streams.Err, parsed.Subject, error);
    streams.Err << "Try 'morvane-cli --help'.\n";
    return ExitUsage;
  }
  workflow.SetOptions(std::move(*runOptions));
  errno = 0;
  const int status = RunCommand(parsed.Arguments, workflow, decoder, streams);
  // Output that did not arrive is a failure, whatever the rows said.
  if (!streams.Out.flush()) {
    Diagnose(streams.Err, {}, "cannot write to standard output: " + platform::ErrorText(errno ? errno : EIO));
    return status != ExitSuccess ? status : ExitFailure;
  }
  return status;
}
