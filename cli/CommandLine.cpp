#include "cli/CommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>
#include <thread>

namespace {

// Far more than any machine has cores; a typo such as "-j 10000" is refused, not obeyed.
constexpr unsigned kMaxJobs = 1024;

// Which commands take an option: one bit per command.
enum TCommandBit : unsigned {
  cbList = 1u << 0,
  cbRename = 1u << 1,
  cbCopy = 1u << 2,
  cbInfo = 1u << 3,
  cbUndo = 1u << 4,
  cbStreams = 1u << 5,
  cbFrames = 1u << 6,
  cbFrame = 1u << 7,
  cbFileCommands = cbList | cbRename | cbCopy,  // the commands that name, walk and look up files
  cbEvery = 0xFFu,
};

struct TCommandSpec {
  const char* Name;
  TCliCommand Command;
  unsigned Bit;
  const char* Operands;  // as the usage line shows them
};

constexpr TCommandSpec kCommands[] = {
    {"list", TCliCommand::List, cbList, "FILE..."},
    {"rename", TCliCommand::Rename, cbRename, "FILE..."},
    {"copy", TCliCommand::Copy, cbCopy, "DIR FILE..."},
    {"info", TCliCommand::Info, cbInfo, "FILE"},
    {"undo", TCliCommand::Undo, cbUndo, "[RUN]"},
    {"streams", TCliCommand::Streams, cbStreams, "FILE"},
    {"frames", TCliCommand::Frames, cbFrames, "FILE"},
    {"frame", TCliCommand::Frame, cbFrame, "FILE SECONDS OUT"},
};

// Stores an option's value; returns what is wrong with it, or nothing.
using TApply = std::string (*)(TCliArguments& arguments, std::string_view value);

struct TOptionSpec {
  const char* Long;
  char Short;         // 0: none
  const char* Value;  // the value's name in the usage; nullptr: the option takes none
  unsigned Commands;
  TApply Apply;
  const char* Help;   // one line for "COMMAND --help"
};

std::string NeedsValue(std::string_view value, std::string& field) {
  if (value.empty()) return "needs a value";
  field = std::string(value);
  return {};
}

std::string ParseJobs(std::string_view text, unsigned& jobs) {
  unsigned value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || stop != text.data() + text.size() || value < 1 || value > kMaxJobs)
    return "the number of jobs must be a whole number from 1 to " + std::to_string(kMaxJobs) + ", not '" +
           std::string(text) + "'";
  jobs = value;
  return {};
}

// Every option of every command. The order is the order of the usage lines.
constexpr TOptionSpec kOptions[] = {
    {"dry-run", 'n', nullptr, cbRename | cbCopy, [](TCliArguments& a, std::string_view) { return a.DryRun = true, std::string(); },
     "check every FILE as for real and report what would happen; change nothing"},
    {"unique", 0, nullptr, cbRename | cbCopy, [](TCliArguments& a, std::string_view) { return a.Naming.Unique = true, std::string(); },
     "take NAME_1.EXT, NAME_2.EXT, ... when the new name is taken; never replace"},
    {"replace", 0, nullptr, cbCopy, [](TCliArguments& a, std::string_view) { return a.Naming.Replace = true, std::string(); },
     "replace a different file under the new name in DIR (not with --unique)"},
    {"set-mtime", 0, nullptr, cbRename | cbCopy,
     [](TCliArguments& a, std::string_view) { return a.Naming.SetMtime = true, std::string(); },
     "give the renamed or copied file its creation time (shifted) as modification time"},
    {"no-companions", 0, nullptr, cbRename | cbCopy,
     [](TCliArguments& a, std::string_view) { return a.Naming.Companions = false, std::string(); },
     "leave sidecars and Live Photo clips where they are"},
    {"explain", 0, nullptr, cbList, [](TCliArguments& a, std::string_view) { return a.Explain = true, std::string(); },
     "three more fields: the creation time's source, its raw text, every date held"},
    {"recursive", 'r', nullptr, cbFileCommands,
     [](TCliArguments& a, std::string_view) { return a.Recursive = true, std::string(); },
     "a FILE that is a folder stands for the media files below it"},
    {"jobs", 'j', "N", cbFileCommands, [](TCliArguments& a, std::string_view v) { return ParseJobs(v, a.Jobs); },
     "read the creation times on N threads at once (default: one per processor)"},
    {"full-probe", 0, nullptr, cbFileCommands,
     [](TCliArguments& a, std::string_view) { return a.LookupPath = TLookupPath::FullProbe, std::string(); },
     "probe each file's streams and search the whole information text"},
    {"format", 0, "PATTERN", cbFileCommands, [](TCliArguments& a, std::string_view v) { return NeedsValue(v, a.Naming.Format); },
     "the new name: %Y %m %d %H %M %S %f %z %% %{make} %{model} %{name} %{counter}; \"/\" makes folders"},
    {"tz", 0, "ZONE", cbFileCommands, [](TCliArguments& a, std::string_view v) { return NeedsValue(v, a.Naming.Tz); },
     "the name shows the time in ZONE (\"recorded\": the offset the device wrote)"},
    {"assume-tz", 0, "ZONE", cbFileCommands, [](TCliArguments& a, std::string_view v) { return NeedsValue(v, a.Naming.AssumeTz); },
     "a time marked UTC or without zone was written in ZONE's local time"},
    {"shift", 0, "AMOUNT", cbFileCommands, [](TCliArguments& a, std::string_view v) { return NeedsValue(v, a.Naming.Shift); },
     "add [+|-][D ]HH:MM[:SS] to every date: a camera clock that was wrong"},
    {"shift-for", 0, "MODEL=AMOUNT", cbFileCommands,
     [](TCliArguments& a, std::string_view v) {
       if (v.empty()) return std::string("needs a value");
       a.Naming.ShiftFor.emplace_back(v);
       return std::string();
     },
     "shift the dates of camera MODEL's files by AMOUNT instead (repeatable)"},
    {"skip-unset-dates", 0, nullptr, cbFileCommands,
     [](TCliArguments& a, std::string_view) { return a.Naming.SkipUnsetDates = true, std::string(); },
     "skip a file whose date looks unset"},
    {"date-from-name", 0, nullptr, cbFileCommands,
     [](TCliArguments& a, std::string_view) { return a.Naming.DateFromName = true, std::string(); },
     "a file that holds no date takes the date written in its name"},
    {"date-from-mtime", 0, nullptr, cbFileCommands,
     [](TCliArguments& a, std::string_view) { return a.Naming.DateFromMtime = true, std::string(); },
     "a file that holds no date (nor one in its name) takes its modification time"},
    {"list", 0, nullptr, cbUndo, [](TCliArguments& a, std::string_view) { return a.ListRuns = true, std::string(); },
     "list the journalled rename runs instead of undoing one"},
    {"backward", 0, nullptr, cbFrames, [](TCliArguments& a, std::string_view) { return a.Backward = true, std::string(); },
     "from the last frame to the first"},
    {"keys", 0, nullptr, cbFrames, [](TCliArguments& a, std::string_view) { return a.Keys = true, std::string(); },
     "from key frame to key frame"},
    {"help", 'h', nullptr, cbEvery, [](TCliArguments& a, std::string_view) { return a.CommandHelp = true, std::string(); },
     "show this usage"},
};

// getopt_long's code of an option: its short letter, or a number above every letter.
int CodeOf(const TOptionSpec& option) {
  return option.Short ? option.Short : 256 + static_cast<int>(&option - kOptions);
}

const TOptionSpec* OptionOfCode(int code) {
  for (const TOptionSpec& option : kOptions)
    if (CodeOf(option) == code) return &option;
  return nullptr;
}

// "[-j N|--jobs N]", "[--unique]".
std::string UsageOf(const TOptionSpec& option) {
  const std::string value = option.Value ? std::string(" ") + option.Value : std::string();
  std::string text = "[";
  if (option.Short) text += std::string("-") + option.Short + value + "|";
  return text + "--" + option.Long + value + "]";
}

std::string UsageLine(const TCommandSpec& command) {
  std::string line = std::string("morvane-cli ") + command.Name;
  for (const TOptionSpec& option : kOptions)
    if ((option.Commands & command.Bit) && option.Short != 'h') line += ' ' + UsageOf(option);
  return line + " [--] " + command.Operands;
}

// How the option was written, for a message: "-j" or "--jobs".
std::string WrittenOption(const char* argument, int code) {
  const std::string_view written = argument;
  if (written.starts_with("--")) return std::string(written.substr(0, written.find('=')));
  return std::string("-") + static_cast<char>(code);
}

TParsedCommandLine Invalid(std::string subject, std::string error) {
  TParsedCommandLine parsed;
  parsed.Subject = std::move(subject);
  parsed.Error = std::move(error);
  return parsed;
}

// Reads the options of `command` out of `arguments` (which begin with the command's name)
// and leaves the operands in `operands`, in order.
std::string ReadOptions(const TCommandSpec& command, const std::vector<std::string>& arguments,
                        TCliArguments& result, std::vector<std::string>& operands) {
  // ":" first: a missing value is told apart from an unknown option, and getopt itself
  // prints nothing.
  std::string shortOptions = ":";
  std::vector<option> longOptions;
  for (const TOptionSpec& spec : kOptions) {
    if (!(spec.Commands & command.Bit)) continue;
    const int takesValue = spec.Value ? required_argument : no_argument;
    if (spec.Short) shortOptions += std::string(1, spec.Short) + (spec.Value ? ":" : "");
    longOptions.push_back({spec.Long, takesValue, nullptr, CodeOf(spec)});
  }
  longOptions.push_back({});

  std::vector<std::string> copies(arguments);
  std::vector<char*> argv;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(copies.size());
  optind = 0;  // glibc: start afresh, also after an earlier parse
  opterr = 0;
  for (int code; (code = getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(), nullptr)) != -1;) {
    const char* written = argv[optind - 1];
    if (code == '?') {
      // A known option refused: a long one given a value it does not take ("--unique=1").
      const bool known = optopt >= 256 || (optopt > 0 && shortOptions.find(static_cast<char>(optopt)) != std::string::npos);
      if (known) return "option '" + WrittenOption(written, optopt) + "' takes no value";
      return "unknown option '" + (optopt ? std::string("-") + static_cast<char>(optopt) : WrittenOption(written, 0)) + "'";
    }
    if (code == ':') {
      const std::string name = WrittenOption(written, optopt);
      return name + (OptionOfCode(optopt) && OptionOfCode(optopt)->Short == 'j' ? " needs a number" : " needs a value");
    }
    const TOptionSpec* spec = OptionOfCode(code);
    if (std::string problem = spec->Apply(result, optarg ? optarg : ""); !problem.empty())
      return problem.starts_with("needs") ? WrittenOption(written, code) + ' ' + problem : problem;
  }
  // getopt_long moved the operands behind the options, in their order.
  operands.assign(argv.begin() + optind, argv.begin() + argc);
  return {};
}

// Checks the operands of the command and stores them.
std::string TakeOperands(TCliCommand command, std::vector<std::string> operands, TCliArguments& result) {
  switch (command) {
    case TCliCommand::Undo:
      if (operands.size() > (result.ListRuns ? 0u : 1u)) return "at most one RUN, and none with --list";
      if (!operands.empty() && operands.front().empty()) return "RUN is empty";
      if (!operands.empty()) result.RunId = operands.front();
      return {};
    case TCliCommand::Copy:
      if (result.Naming.Unique && result.Naming.Replace) return "--unique and --replace exclude each other";
      if (operands.empty()) return "no DIR given";
      if (operands.front().empty()) return "DIR is empty";
      result.Folder = operands.front();
      operands.erase(operands.begin());
      break;
    case TCliCommand::Frame:
      if (operands.size() != 3) return "FILE, SECONDS and OUT expected";
      result.Seconds = operands[1];
      result.Output = operands[2];
      operands.resize(1);
      break;
    default:
      break;
  }
  if (operands.empty()) return "no FILE given";
  const bool oneFile = command == TCliCommand::Info || command == TCliCommand::Streams || command == TCliCommand::Frames;
  if (oneFile && operands.size() != 1) return "exactly one FILE expected";
  result.Files = std::move(operands);
  return {};
}

}  // namespace

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Invalid({}, "no command given");
  const std::string& first = arguments.front();
  if (first == "--help" || first == "-h" || first == "--version") {
    if (arguments.size() > 1) return Invalid({}, first + " takes no further arguments");
    TParsedCommandLine parsed;
    parsed.Valid = true;
    parsed.Arguments.Command = first == "--version" ? TCliCommand::Version : TCliCommand::Help;
    return parsed;
  }
  const TCommandSpec* command = nullptr;
  for (const TCommandSpec& candidate : kCommands)
    if (first == candidate.Name) command = &candidate;
  if (!command) return Invalid({}, "unknown command '" + first + "'");

  TParsedCommandLine parsed;
  parsed.Arguments.Command = command->Command;
  std::vector<std::string> operands;
  if (std::string error = ReadOptions(*command, arguments, parsed.Arguments, operands); !error.empty())
    return Invalid(first, std::move(error));
  if (parsed.Arguments.CommandHelp) {
    parsed.Valid = true;
    return parsed;
  }
  if (std::string error = TakeOperands(command->Command, std::move(operands), parsed.Arguments); !error.empty())
    return Invalid(first, std::move(error));
  parsed.Valid = true;
  return parsed;
}

std::string UsageLines() {
  std::string lines;
  for (const TCommandSpec& command : kCommands) lines += "  " + UsageLine(command) + '\n';
  return lines;
}

std::string CommandUsage(TCliCommand command) {
  for (const TCommandSpec& spec : kCommands) {
    if (spec.Command != command) continue;
    std::string text = "Usage: " + UsageLine(spec) + "\n\nOptions:\n";
    for (const TOptionSpec& option : kOptions) {
      if (!(option.Commands & spec.Bit)) continue;
      std::string names = option.Short ? std::string("-") + option.Short + ", " : std::string();
      names += std::string("--") + option.Long + (option.Value ? std::string(" ") + option.Value : std::string());
      names.resize(std::max<std::size_t>(names.size() + 1, 22), ' ');
      text += "  " + names + option.Help + '\n';
    }
    return text + "\n'morvane-cli --help' describes every command and option.\n";
  }
  return {};
}

unsigned WorkerCount(const TCliArguments& arguments) {
  if (arguments.Jobs != 0) return arguments.Jobs;
  const unsigned processors = std::thread::hardware_concurrency();
  return processors == 0 ? 1 : processors;
}
