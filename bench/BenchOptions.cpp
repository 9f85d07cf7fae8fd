#include "bench/BenchOptions.h"

#include <algorithm>
#include <charconv>

namespace {

bool ParsePositive(const std::string& text, int& value) {
  int parsed = 0;
  const auto [end, result] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (result != std::errc() || end != text.data() + text.size() || parsed <= 0) return false;
  value = parsed;
  return true;
}

}  // namespace

bool ParseBenchOptions(const std::vector<std::string>& arguments, const std::string& defaultCliPath,
                       TBenchOptions& options, std::string& error) {
  options.CliPath = defaultCliPath;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--help") {
      options.Help = true;
      return true;
    }
    if (argument == "--cli" && hasValue) {
      options.CliPath = arguments[++i];
    } else if (argument == "--repeats" && hasValue) {
      if (!ParsePositive(arguments[++i], options.Repeats)) error = "--repeats needs a positive number";
    } else if (argument == "--ffprobe-repeats" && hasValue) {
      if (!ParsePositive(arguments[++i], options.FfprobeRepeats)) error = "--ffprobe-repeats needs a positive number";
    } else if (argument == "--lookups" && hasValue) {
      if (!ParsePositive(arguments[++i], options.Lookups)) error = "--lookups needs a positive number";
    } else if (argument.starts_with("-")) {
      error = "unknown or incomplete option " + argument;
    } else if (options.CorpusFolder.empty()) {
      options.CorpusFolder = argument;
    } else {
      error = "more than one corpus folder";
    }
    if (!error.empty()) return false;
  }
  if (options.CorpusFolder.empty()) {
    error = "no corpus folder";
    return false;
  }
  if (options.CliPath.empty()) {
    error = "no morvane-cli: give --cli PATH";
    return false;
  }
  options.EarlyLookups = std::min(options.EarlyLookups, options.Lookups);
  return true;
}
