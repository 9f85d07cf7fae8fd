#include "cli/CommandLine.h"

namespace {

TParsedCommandLine Invalid(std::string error) {
  TParsedCommandLine parsed;
  parsed.Error = std::move(error);
  return parsed;
}

struct TCommandName {
  const char* Name;
  TCliCommand Command;
  bool TakesDryRun;  // and --unique: the commands that change files
};

constexpr TCommandName kCommands[] = {{"list", TCliCommand::List, false},
                                      {"rename", TCliCommand::Rename, true},
                                      {"copy", TCliCommand::Copy, true},
                                      {"info", TCliCommand::Info, false},
                                      {"undo", TCliCommand::Undo, false}};

}  // namespace

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Invalid("no command given");
  const std::string& first = arguments.front();
  if (first == "--help" || first == "-h" || first == "--version") {
    if (arguments.size() > 1) return Invalid(first + " takes no further arguments");
    TParsedCommandLine parsed;
    parsed.Valid = true;
    parsed.Arguments.Command = first == "--version" ? TCliCommand::Version : TCliCommand::Help;
    return parsed;
  }
  const TCommandName* command = nullptr;
  for (const TCommandName& candidate : kCommands)
    if (first == candidate.Name) command = &candidate;
  if (!command) return Invalid("unknown command '" + first + "'");

  TParsedCommandLine parsed;
  TCliArguments& result = parsed.Arguments;
  result.Command = command->Command;
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument) {
    if (optionsEnded || !argument->starts_with('-')) {
      operands.push_back(*argument);
    } else if (*argument == "--") {
      optionsEnded = true;
    } else if (command->TakesDryRun && (*argument == "-n" || *argument == "--dry-run")) {
      result.DryRun = true;
    } else if (command->TakesDryRun && *argument == "--unique") {
      result.Unique = true;
    } else if (result.Command != TCliCommand::Info && result.Command != TCliCommand::Undo &&
               (*argument == "-r" || *argument == "--recursive")) {
      result.Recursive = true;
    } else if (result.Command == TCliCommand::Undo && *argument == "--list") {
      result.ListRuns = true;
    } else {
      return Invalid(first + ": unknown option '" + *argument + "'");
    }
  }

  if (result.Command == TCliCommand::Undo) {
    if (operands.size() > (result.ListRuns ? 0u : 1u)) return Invalid("undo: at most one RUN, and none with --list");
    if (!operands.empty()) result.RunId = operands.front();
    parsed.Valid = true;
    return parsed;
  }
  if (result.Command == TCliCommand::Copy) {
    if (operands.empty()) return Invalid("copy: no DIR given");
    if (operands.front().empty()) return Invalid("copy: DIR is empty");
    result.Folder = operands.front();
    operands.erase(operands.begin());
  }
  if (operands.empty()) return Invalid(first + ": no FILE given");
  if (result.Command == TCliCommand::Info && operands.size() != 1) return Invalid("info: exactly one FILE expected");
  result.Files = std::move(operands);
  parsed.Valid = true;
  return parsed;
}
