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
};

constexpr TCommandName kCommands[] = {{"list", TCliCommand::List, false},
                                      {"rename", TCliCommand::Rename, true},
                                      {"copy", TCliCommand::Copy, true},
                                      {"info", TCliCommand::Info, false}};

// The options of list, rename and copy that take a value: "--NAME VALUE" or "--NAME=VALUE".
struct TValueOption {
  const char* Name;
  std::string TCliArguments::*Field;
};

constexpr TValueOption kValueOptions[] = {{"--format", &TCliArguments::Format},
                                          {"--tz", &TCliArguments::Tz},
                                          {"--assume-tz", &TCliArguments::AssumeTz}};

const TValueOption* FindValueOption(const TCommandName& command, const std::string& argument) {
  if (command.Command == TCliCommand::Info) return nullptr;
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
  for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument) {
    if (optionsEnded || !argument->starts_with('-')) {
      operands.push_back(*argument);
    } else if (*argument == "--") {
      optionsEnded = true;
    } else if (command->TakesDryRun && (*argument == "-n" || *argument == "--dry-run")) {
      result.DryRun = true;
    } else if (command->TakesDryRun && *argument == "--unique") {
      result.Unique = true;
    } else if (command->Command != TCliCommand::Info && *argument == "--skip-unset-dates") {
      result.SkipUnsetDates = true;
    } else if (command->Command == TCliCommand::List && *argument == "--explain") {
      result.Explain = true;
    } else if (const TValueOption* option = FindValueOption(*command, *argument)) {
      const std::string name = option->Name;
      if (argument->size() > name.size()) {
        result.*option->Field = argument->substr(name.size() + 1);
      } else if (++argument == arguments.end()) {
        return Invalid(first + ": " + name + " needs a value");
      } else {
        result.*option->Field = *argument;
      }
      if ((result.*option->Field).empty()) return Invalid(first + ": " + name + " needs a value");
    } else {
      return Invalid(first + ": unknown option '" + *argument + "'");
    }
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
