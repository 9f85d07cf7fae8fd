#include "cli/CommandLine.h"

#include <string_view>

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
  bool TakesLookupOptions;
};

constexpr TCommandName kCommands[] = {{"list", TCliCommand::List, false, true},
                                      {"rename", TCliCommand::Rename, true, true},
                                      {"copy", TCliCommand::Copy, true, true},
                                      {"info", TCliCommand::Info, false, false},
                                      {"undo", TCliCommand::Undo, false, false}};

// The options of list, rename and copy that take a value: "--NAME VALUE" or "--NAME=VALUE".
struct TValueOption {
  const char* Name;
  std::string TCliArguments::*Field;
};

constexpr TValueOption kValueOptions[] = {{"--format", &TCliArguments::Format},
                                          {"--tz", &TCliArguments::Tz},
                                          {"--assume-tz", &TCliArguments::AssumeTz}};

const TValueOption* FindValueOption(const TCommandName& command, const std::string& argument) {
  // Only the commands that name files take the naming options.
  if (!command.TakesLookupOptions) return nullptr;
  for (const TValueOption& option : kValueOptions) {
    const std::string_view name = option.Name;
    if (argument == name || (argument.starts_with(name) && argument[name.size()] == '=')) return &option;
  }
  return nullptr;
}

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
  for (std::size_t index = 1; index < arguments.size(); ++index) {
    const std::string& argument = arguments[index];
    if (optionsEnded || !argument.starts_with('-')) {
      operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (command->TakesDryRun && (argument == "-n" || argument == "--dry-run")) {
      result.DryRun = true;
      continue;
    }
    if (command->TakesDryRun && argument == "--unique") {
      result.Unique = true;
      continue;
    }
    if (command->TakesDryRun && argument == "--no-companions") {
      result.NoCompanions = true;
      continue;
    }
    // The commands that take lookup options are the ones that take folders of files.
    if (command->TakesLookupOptions && (argument == "-r" || argument == "--recursive")) {
      result.Recursive = true;
      continue;
    }
    if (result.Command == TCliCommand::Undo && argument == "--list") {
      result.ListRuns = true;
      continue;
    }
    if (command->TakesLookupOptions && argument == "--skip-unset-dates") {
      result.SkipUnsetDates = true;
      continue;
    }
    if (command->TakesLookupOptions && argument == "--date-from-name") {
      result.DateFromName = true;
      continue;
    }
    if (command->TakesLookupOptions && argument == "--date-from-mtime") {
      result.DateFromMtime = true;
      continue;
    }
    if (result.Command == TCliCommand::List && argument == "--explain") {
      result.Explain = true;
      continue;
    }
    if (const TValueOption* option = FindValueOption(*command, argument)) {
      const std::string name = option->Name;
      if (argument.size() > name.size()) {
        result.*option->Field = argument.substr(name.size() + 1);
      } else if (++index == arguments.size()) {
        return Invalid(first + ": " + name + " needs a value");
      } else {
        result.*option->Field = arguments[index];
      }
      if ((result.*option->Field).empty()) return Invalid(first + ": " + name + " needs a value");
      continue;
    }
    std::string error;
    const TOptionMatch lookup = command->TakesLookupOptions
                                    ? TakeLookupOption(arguments, index, result.Lookup, error)
                                    : TOptionMatch::NotThisOption;
    if (lookup == TOptionMatch::Invalid) return Invalid(first + ": " + error);
    if (lookup == TOptionMatch::NotThisOption) return Invalid(first + ": unknown option '" + argument + "'");
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
