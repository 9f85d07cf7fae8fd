#include "cli/RunArguments.h"

#include "workflow/options/NamingRequest.h"
#include "workflow/undo/UndoJournal.h"

namespace {

// The problem as a diagnostic that names the option as it was written.
std::string ProblemText(const TNamingProblem& problem, const TCliArguments& arguments) {
  switch (problem.Option) {
    case TNamingProblem::TOption::Format:
      return "--format '" + arguments.Naming.Format + "': " + problem.Why;
    case TNamingProblem::TOption::Tz:
      return "--tz: " + problem.Why;
    case TNamingProblem::TOption::AssumeTz:
      return "--assume-tz: " + problem.Why;
    case TNamingProblem::TOption::Shift:
      return "--shift: " + problem.Why;
    case TNamingProblem::TOption::ShiftFor:
      return "--shift-for: " + problem.Why;
  }
  return problem.Why;
}

}  // namespace

std::optional<TRunOptions> RunOptionsFrom(const TCliArguments& arguments, std::string& error) {
  TNamingProblem problem;
  std::optional<TRunOptions> options = RunOptionsOf(arguments.Naming, problem);
  if (!options) {
    error = ProblemText(problem, arguments);
    return std::nullopt;
  }
  options->Lookup.Path = arguments.LookupPath;
  // --explain reads every source, so that the row lists every date the file holds.
  options->Lookup.Fallbacks.ListAll = arguments.Explain;
  options->Workers = WorkerCount(arguments);
  if (arguments.Command == TCliCommand::Rename) options->JournalPath = DefaultJournalPath();
  return options;
}
