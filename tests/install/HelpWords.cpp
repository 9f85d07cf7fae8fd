#include "install/HelpWords.h"

#include <regex>
#include <sstream>

namespace {

bool IsBlank(char character) { return character == ' ' || character == '\t'; }

bool IsCommandWord(const std::string& word) { return std::regex_match(word, std::regex("[a-z][a-z0-9-]*")); }

void AddOptions(const std::string& line, std::set<std::string>& options) {
  // An option begins a word or follows one of the marks that join alternatives: "-n/--dry-run",
  // "[-h|--help]", "--help, -h". A hyphen inside a word ("2015-06-01") is not one.
  static const std::regex option(R"((?:^|[\s,\[|(/])(--?[A-Za-z0-9][A-Za-z0-9-]*))");
  for (std::sregex_iterator match(line.begin(), line.end(), option), end; match != end; ++match)
    options.insert((*match)[1]);
}

void AddCommands(const std::string& usageLine, std::set<std::string>& commands) {
  std::string words = usageLine.substr(usageLine.find(' ') + 1);
  for (char& character : words)
    if (std::string_view("[]|(){},").find(character) != std::string_view::npos) character = ' ';
  std::istringstream stream(words);
  for (std::string word; stream >> word;)
    if (IsCommandWord(word)) commands.insert(word);
}

}  // namespace

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream stream{std::string(text)};
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string CollapseBlanks(std::string_view line) {
  std::string collapsed;
  for (char character : line) {
    if (IsBlank(character)) {
      if (!collapsed.empty() && collapsed.back() != ' ') collapsed += ' ';
    } else {
      collapsed += character;
    }
  }
  if (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

std::string FirstWord(std::string_view line) {
  const std::string collapsed = CollapseBlanks(line);
  return collapsed.substr(0, collapsed.find(' '));
}

HelpWords ReadHelpWords(std::string_view help, std::string_view program) {
  HelpWords words;
  bool inExitStatus = false;
  for (const std::string& line : Lines(help)) {
    AddOptions(line, words.Options);
    if (FirstWord(line) == program) {
      words.UsageLines.push_back(CollapseBlanks(line));
      AddCommands(words.UsageLines.back(), words.Commands);
    }
    if (line.starts_with("Exit status")) {
      inExitStatus = true;
    } else if (inExitStatus) {
      if (line.empty() || !IsBlank(line.front())) {
        inExitStatus = false;
      } else if (std::regex_match(FirstWord(line), std::regex("[0-9]+"))) {
        words.ExitStatuses.insert(FirstWord(line));
      }
    }
  }
  return words;
}
