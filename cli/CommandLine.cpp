#include "cli/CommandLine.h"

namespace {

TParsedCommandLine Invalid(std::string error) {
  TParsedCommandLine parsed;
  parsed.Error = std::move(error);
  return parsed;
}

TParsedCommandLine Valid(TCliCommand command, std::string folder, std::vector<std::string> files) {
  TParsedCommandLine parsed;
  parsed.Valid = true;
  parsed.Arguments = TCliArguments{command, std::move(folder), std::move(files)};
  return parsed;
}

}  // namespace

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Invalid("no command given");
  const std::string& command = arguments.front();
  std::vector<std::string> operands(arguments.begin() + 1, arguments.end());

  if (command == "--help" || command == "-h") {
    if (!operands.empty()) return Invalid("--help takes no further arguments");
    return Valid(TCliCommand::Help, {}, {});
  }
  if (command == "list" || command == "rename") {
    if (operands.empty()) return Invalid(command + ": no FILE given");
    return Valid(command == "list" ? TCliCommand::List : TCliCommand::Rename, {}, std::move(operands));
  }
  if (command == "copy") {
    if (operands.empty()) return Invalid("copy: no DIR given");
    if (operands.front().empty()) return Invalid("copy: DIR is empty");
    if (operands.size() < 2) return Invalid("copy: no FILE given");
    std::string folder = operands.front();
    operands.erase(operands.begin());
    return Valid(TCliCommand::Copy, std::move(folder), std::move(operands));
  }
  if (command == "info") {
    if (operands.size() != 1) return Invalid("info: exactly one FILE expected");
    return Valid(TCliCommand::Info, {}, std::move(operands));
  }
  return Invalid("unknown command '" + command + "'");
}
