#include "cli/LookupOptions.h"

#include <charconv>
#include <thread>

namespace {

// Far more than any machine has cores; a typo such as "-j 10000" is refused, not obeyed.
constexpr unsigned kMaxJobs = 1024;

bool ParseJobs(const std::string& text, unsigned& jobs) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || value < 1 || value > kMaxJobs) return false;
  jobs = value;
  return true;
}

}  // namespace

TOptionMatch TakeLookupOption(const std::vector<std::string>& arguments, std::size_t& index, TLookupOptions& options,
                              std::string& error) {
  const std::string& argument = arguments[index];
  if (argument == "--full-probe") {
    options.Path = TLookupPath::FullProbe;
    return TOptionMatch::Taken;
  }
  std::string value;
  if (argument == "-j" || argument == "--jobs") {
    if (index + 1 >= arguments.size()) {
      error = argument + " needs a number";
      return TOptionMatch::Invalid;
    }
    value = arguments[++index];
  } else if (argument.starts_with("--jobs=")) {
    value = argument.substr(7);
  } else if (argument.starts_with("-j")) {
    value = argument.substr(2);
  } else {
    return TOptionMatch::NotThisOption;
  }
  if (!ParseJobs(value, options.Jobs)) {
    error = "the number of jobs must be a whole number from 1 to " + std::to_string(kMaxJobs) + ", not '" + value + "'";
    return TOptionMatch::Invalid;
  }
  return TOptionMatch::Taken;
}

unsigned WorkerCount(const TLookupOptions& options) {
  if (options.Jobs != 0) return options.Jobs;
  const unsigned processors = std::thread::hardware_concurrency();
  return processors == 0 ? 1 : processors;
}
