#include "bench/LookupMethods.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "FFDecode/FFDecoder.h"
#include "Text/Trim.h"
#include "bench/BareLookup.h"
#include "bench/ChildProcess.h"
#include "cli/CliRunner.h"
#include "cli/ExitStatus.h"
#include "workflow/lookup/CreationTimeText.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Wall and processor time of this process (all its threads) from construction on.
class TInProcessTimer {
 public:
  TInProcessTimer() : wall_(Clock::now()), cpu_(std::clock()) {}
  void StopInto(TMethodRun& run) const {
    run.Seconds = SecondsSince(wall_);
    run.CpuSeconds = static_cast<double>(std::clock() - cpu_) / CLOCKS_PER_SEC;
  }

 private:
  Clock::time_point wall_;
  std::clock_t cpu_;
};

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<std::string> ListOutputCreationTimes(const std::string& output) {
  std::vector<std::string> times;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t first = line.find('\t');
    const std::size_t second = first == std::string::npos ? std::string::npos : line.find('\t', first + 1);
    times.push_back(second == std::string::npos ? std::string() : line.substr(first + 1, second - first - 1));
  }
  return times;
}

std::vector<std::string> ExifToolValues(const std::string& output, std::size_t files) {
  std::vector<std::string> values;
  std::istringstream lines(output);
  std::string line;
  // One file: its value alone. Several: each value follows a "======== FILE" line.
  bool valueDue = files == 1;
  while (std::getline(lines, line)) {
    if (line.starts_with("======== ")) {
      if (valueDue) values.emplace_back();  // the file before gave no value
      valueDue = true;
    } else if (valueDue) {
      values.push_back(text::TrimControls(line));
      valueDue = false;
    }
  }
  if (valueDue) values.emplace_back();
  return values;
}

TLookupMethods::TLookupMethods(TRenamingWorkflow& workflow, TFFDecoder& decoder, std::string cliPath,
                               std::string scratchFolder)
    : Workflow_(workflow),
      Decoder_(decoder),
      CliPath_(std::move(cliPath)),
      OutputFile_(std::move(scratchFolder) + "/child-output.txt") {}

namespace {

TMethodRun TimeLoop(const std::vector<std::string>& files, std::string (*lookUp)(const std::string&)) {
  TMethodRun run;
  run.CreationTimes.reserve(files.size());
  const TInProcessTimer timer;
  for (const std::string& file : files) run.CreationTimes.push_back(lookUp(file));
  timer.StopInto(run);
  return run;
}

}  // namespace

TMethodRun TLookupMethods::OpenOnly(const std::vector<std::string>& files) const {
  return TimeLoop(files, BareHeaderCreationTime);
}

TMethodRun TLookupMethods::Bare(const std::vector<std::string>& files) const {
  return TimeLoop(files, BareCreationTime);
}

TMethodRun TLookupMethods::CliInProcess(const std::vector<std::string>& files,
                                        const std::vector<std::string>& options) const {
  std::vector<std::string> arguments{"list"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  arguments.insert(arguments.end(), files.begin(), files.end());
  std::ostringstream out;
  std::ostringstream err;
  TMethodRun run;
  const TInProcessTimer timer;
  const int status = RunCli(arguments, Workflow_, Decoder_, TCliStreams{out, err});
  timer.StopInto(run);
  if (status != ExitSuccess) run.Error = "in-process list exited with " + std::to_string(status) + ": " + err.str();
  run.CreationTimes = ListOutputCreationTimes(out.str());
  return run;
}

TMethodRun TLookupMethods::CliProcess(const std::vector<std::string>& files,
                                      const std::vector<std::string>& options) const {
  std::vector<std::string> arguments{"list"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  arguments.insert(arguments.end(), files.begin(), files.end());
  TMethodRun run = CliCommand(arguments);
  run.Output = ReadWholeFile(OutputFile_);
  run.CreationTimes = ListOutputCreationTimes(run.Output);
  return run;
}

TMethodRun TLookupMethods::ExifToolBatch(const std::vector<std::string>& files) const {
  std::vector<std::string> arguments{"exiftool", "-api", "QuickTimeUTC", "-s3", "-CreateDate"};
  arguments.insert(arguments.end(), files.begin(), files.end());
  TMethodRun run;
  const Clock::time_point start = Clock::now();
  const int status = RunChild(arguments, OutputFile_, run.CpuSeconds, run.Error);
  run.Seconds = SecondsSince(start);
  if (status != 0) {
    if (status > 0) run.Error = "exiftool exited with " + std::to_string(status);
    return run;
  }
  run.Output = ReadWholeFile(OutputFile_);
  run.CreationTimes = ExifToolValues(run.Output, files.size());
  return run;
}

TMethodRun TLookupMethods::CliCommand(const std::vector<std::string>& arguments) const {
  std::vector<std::string> command{CliPath_};
  command.insert(command.end(), arguments.begin(), arguments.end());
  TMethodRun run;
  const Clock::time_point start = Clock::now();
  const int status = RunChild(command, OutputFile_, run.CpuSeconds, run.Error);
  run.Seconds = SecondsSince(start);
  if (status > 0) run.Error = CliPath_ + " exited with " + std::to_string(status);
  return run;
}

TMethodRun TLookupMethods::FfprobePerFile(const std::vector<std::string>& files) const {
  TMethodRun run;
  run.CreationTimes.reserve(files.size());
  for (const std::string& file : files) {
    const std::vector<std::string> arguments{
        "ffprobe", "-v", "error", "-show_entries", "format_tags=creation_time", "-of", "default=nw=1:nk=1", file};
    double cpuSeconds = 0;
    const Clock::time_point start = Clock::now();
    const int status = RunChild(arguments, OutputFile_, cpuSeconds, run.Error);
    run.Seconds += SecondsSince(start);
    run.CpuSeconds += cpuSeconds;
    if (status != 0) {
      if (status > 0) run.Error = "ffprobe exited with " + std::to_string(status) + " on " + file;
      return run;
    }
    run.CreationTimes.push_back(text::TrimControls(ReadWholeFile(OutputFile_)));
  }
  return run;
}

TDecoderSteps MeasureDecoderSteps(TCustomDecoder& decoder, const std::vector<std::string>& files) {
  TDecoderSteps steps;
  TVectorLineBuffer lines;
  for (const std::string& file : files) {
    Clock::time_point start = Clock::now();
    const bool loaded = decoder.LoadFile(file);
    steps.LoadFile += SecondsSince(start);
    if (!loaded) continue;

    start = Clock::now();
    const std::string report = decoder.FileInfoText();
    steps.FileInfoText += SecondsSince(start);

    // The text steps of the workflow's lookup, in its order.
    start = Clock::now();
    lines.SetText(text::TrimControls(report));
    lines.SetText(ReplaceAll(lines.Text(), " : ", " = "));
    const bool found = !FindKeyValue(lines, CreationTimeKey()).empty();
    steps.LineSearch += SecondsSince(start);
    if (found) ++steps.Found;

    start = Clock::now();
    decoder.CloseFile();
    steps.CloseFile += SecondsSince(start);
  }
  return steps;
}
