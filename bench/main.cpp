// morvane-bench: what the creation-time lookup of `morvane-cli list` costs per file, against
// a bare library loop and against one ffprobe process per file, and whether the decoder
// path keeps its memory flat over thousands of lookups. Ratios within one run, no timing
// thresholds that fail anything.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "Corpus.h"
#include "FFDecode/CustomDecoder.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "workflow/LineBuffer.h"
#include "LookupMethods.h"
#include "workflow/RenamingWorkflow.h"
#include "ResidentMemory.h"

#ifndef MORVANE_CLI_PATH
#define MORVANE_CLI_PATH ""
#endif

namespace {

// `morvane-cli list` must stay within this factor of the bare loop.
constexpr double kCliOverBareTarget = 1.25;
// "Far ahead" of ffprobe: at least this many times cheaper per file.
constexpr double kFfprobeOverCliTarget = 10.0;
// Growth of the resident set between the early and the final reading that still counts as flat.
constexpr long kFlatMemoryKiB = 1024;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double MicrosecondsPerFile(double seconds, std::size_t files) { return seconds * 1e6 / static_cast<double>(files); }

// Median wall and processor seconds of one method over the whole list.
struct TMedians {
  double Wall = 0;
  double Cpu = 0;
};

struct TSamples {
  std::vector<double> Wall, Cpu;
  void Add(const TMethodRun& run) {
    Wall.push_back(run.Seconds);
    Cpu.push_back(run.CpuSeconds);
  }
  TMedians Medians() const { return {Median(Wall), Median(Cpu)}; }
};

// Valid is false when a method failed or disagreed.
struct TSetResult {
  TMedians Bare, CliInProcess, CliProcess, Ffprobe;
  bool Valid = true;
};

// Every method must give the same creation time for every file as the bare loop did.
bool Agrees(const char* method, const TMethodRun& run, const std::vector<std::string>& files,
            const std::vector<std::string>& expected) {
  if (!run.Error.empty()) {
    std::fprintf(stderr, "morvane-bench: %s: %s\n", method, run.Error.c_str());
    return false;
  }
  if (run.CreationTimes.size() != expected.size()) {
    std::fprintf(stderr, "morvane-bench: %s gave %zu values for %zu files\n", method, run.CreationTimes.size(),
                 expected.size());
    return false;
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (run.CreationTimes[i] != expected[i]) {
      std::fprintf(stderr, "morvane-bench: %s: %s: \"%s\", the bare loop read \"%s\"\n", method, files[i].c_str(),
                   run.CreationTimes[i].c_str(), expected[i].c_str());
      return false;
    }
  }
  return true;
}

// The runs of the four methods are interleaved so that a busy phase of the machine hits
// them all alike.
TSetResult MeasureSet(const TLookupMethods& methods, const std::vector<std::string>& files,
                      const std::vector<std::string>& expected, const TBenchOptions& options) {
  TSamples bare, inProcess, cli, ffprobe;
  TSetResult result;
  for (int repeat = 0; repeat < std::max(options.Repeats, options.FfprobeRepeats) && result.Valid; ++repeat) {
    if (repeat < options.Repeats) {
      const TMethodRun a = methods.Bare(files);
      const TMethodRun b = methods.CliInProcess(files);
      const TMethodRun c = methods.CliProcess(files);
      result.Valid = Agrees("(a) bare loop", a, files, expected) && Agrees("(b) list in-process", b, files, expected) &&
                     Agrees("(c) morvane-cli list", c, files, expected);
      bare.Add(a);
      inProcess.Add(b);
      cli.Add(c);
    }
    if (result.Valid && repeat < options.FfprobeRepeats) {
      const TMethodRun d = methods.FfprobePerFile(files);
      result.Valid = Agrees("(d) ffprobe", d, files, expected);
      ffprobe.Add(d);
    }
  }
  if (!result.Valid) return result;
  result.Bare = bare.Medians();
  result.CliInProcess = inProcess.Medians();
  result.CliProcess = cli.Medians();
  result.Ffprobe = ffprobe.Medians();
  return result;
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

void PrintRow(const char* label, const TMedians& medians, std::size_t files) {
  std::printf("  %-44s %10.1f %10.1f\n", label, MicrosecondsPerFile(medians.Wall, files),
              MicrosecondsPerFile(medians.Cpu, files));
}

void PrintSet(const char* title, const TSetResult& result, std::size_t files, bool withTargets) {
  std::printf("%s, %zu files\n", title, files);
  std::printf("  %-44s %10s %10s\n", "microseconds per file", "wall", "cpu");
  PrintRow("(a) bare library loop, in-process", result.Bare, files);
  PrintRow("(b) decoder + info text + search, in-process", result.CliInProcess, files);
  PrintRow("(c) morvane-cli list, one process", result.CliProcess, files);
  PrintRow("(d) ffprobe, one process per file", result.Ffprobe, files);
  const double cliBareWall = result.CliProcess.Wall / result.Bare.Wall;
  const double cliBareCpu = result.CliProcess.Cpu / result.Bare.Cpu;
  const double probeCliWall = result.Ffprobe.Wall / result.CliProcess.Wall;
  const double probeCliCpu = result.Ffprobe.Cpu / result.CliProcess.Cpu;
  std::printf("  %-44s %9.3fx %9.3fx", "cli/bare", cliBareWall, cliBareCpu);
  if (withTargets)
    std::printf("   target <= %.2fx: %s (wall), %s (cpu)", kCliOverBareTarget,
                Verdict(cliBareWall <= kCliOverBareTarget), Verdict(cliBareCpu <= kCliOverBareTarget));
  std::printf("\n  %-44s %9.1fx %9.1fx", "ffprobe/cli", probeCliWall, probeCliCpu);
  if (withTargets)
    std::printf("   target >= %.0fx: %s (wall), %s (cpu)", kFfprobeOverCliTarget,
                Verdict(probeCliWall >= kFfprobeOverCliTarget), Verdict(probeCliCpu >= kFfprobeOverCliTarget));
  std::printf("\n  %-44s %9.2fx %9.2fx\n\n", "in-process/bare (no process start)",
              result.CliInProcess.Wall / result.Bare.Wall, result.CliInProcess.Cpu / result.Bare.Cpu);
}

void PrintDecoderSteps(const TDecoderSteps& steps, double bareSeconds, std::size_t files) {
  std::printf("where (b) spends its time, all files, one pass (wall)\n");
  std::printf("  LoadFile (open, probe, options)            %10.1f\n", MicrosecondsPerFile(steps.LoadFile, files));
  std::printf("    the bare loop, for comparison (median)   %10.1f\n", MicrosecondsPerFile(bareSeconds, files));
  std::printf("  FileInfoText                               %10.1f\n", MicrosecondsPerFile(steps.FileInfoText, files));
  std::printf("  line buffer + key search                   %10.1f\n", MicrosecondsPerFile(steps.LineSearch, files));
  std::printf("  CloseFile                                  %10.1f\n\n", MicrosecondsPerFile(steps.CloseFile, files));
}

// What one morvane-cli process costs before and around its lookups.
bool MeasureCliStart(const TLookupMethods& methods, const std::string& firstFile, const TMedians& perFileInProcess,
                     const TBenchOptions& options) {
  TSamples help, oneFile;
  for (int repeat = 0; repeat < options.Repeats; ++repeat) {
    const TMethodRun h = methods.CliCommand({"--help"});
    const TMethodRun o = methods.CliCommand({"list", firstFile});
    for (const TMethodRun* run : {&h, &o}) {
      if (!run->Error.empty()) {
        std::fprintf(stderr, "morvane-bench: %s\n", run->Error.c_str());
        return false;
      }
    }
    help.Add(h);
    oneFile.Add(o);
  }
  const TMedians h = help.Medians();
  const TMedians o = oneFile.Medians();
  std::printf("morvane-cli start, one process                  wall        cpu\n");
  std::printf("  %-44s %10.1f %10.1f\n", "--help (no libraries), us", h.Wall * 1e6, h.Cpu * 1e6);
  std::printf("  %-44s %10.1f %10.1f\n", "list of one small file, us", o.Wall * 1e6, o.Cpu * 1e6);
  std::printf("  %-44s %10.1f %10.1f\n\n", "  start and first lookup (less (b)), us", (o.Wall - perFileInProcess.Wall) * 1e6,
              (o.Cpu - perFileInProcess.Cpu) * 1e6);
  return true;
}

// (e): lookups through the workflow's decoder path, cycling over the corpus.
bool MeasureMemory(TRenamingWorkflow& workflow, const std::vector<std::string>& files, const TBenchOptions& options) {
  long early = -1;
  std::size_t missing = 0;
  for (int lookup = 1; lookup <= options.Lookups; ++lookup) {
    if (workflow.GetCreationTime(files[static_cast<std::size_t>(lookup - 1) % files.size()]).empty()) ++missing;
    if (lookup == options.EarlyLookups) early = ResidentKiB();
  }
  const long final = ResidentKiB();
  if (missing > 0) {
    std::fprintf(stderr, "morvane-bench: %zu of %d lookups found no creation time\n", missing, options.Lookups);
    return false;
  }
  if (early < 0 || final < 0) {
    std::fprintf(stderr, "morvane-bench: cannot read VmRSS from /proc/self/status\n");
    return false;
  }
  const long growth = final - early;
  const int later = options.Lookups - options.EarlyLookups;
  std::printf("(e) memory, lookups through the decoder path\n");
  std::printf("  VmRSS after %5d lookups  %8ld KiB\n", options.EarlyLookups, early);
  std::printf("  VmRSS after %5d lookups  %8ld KiB   (%+ld KiB, %.1f bytes per later lookup)\n", options.Lookups,
              final, growth, later > 0 ? static_cast<double>(growth) * 1024 / later : 0.0);
  std::printf("  VmHWM                      %8ld KiB\n", PeakResidentKiB());
  std::printf("  flat (growth < %ld KiB): %s\n", kFlatMemoryKiB, growth < kFlatMemoryKiB ? "yes" : "NO");
  return true;
}

int RunBench(const TBenchOptions& options) {
  const TCorpus corpus = ReadCorpus(options.CorpusFolder);
  if (corpus.All.empty()) {
    std::fprintf(stderr, "morvane-bench: no media files in %s\n", options.CorpusFolder.c_str());
    return 2;
  }
  const std::filesystem::path scratch = std::filesystem::path(options.CorpusFolder) / ".bench-scratch";
  std::filesystem::create_directories(scratch);

  FFLogUnit logUnit;
  FFLoadUnit loadUnit;
  TFFDecoder decoder;
  TVectorLineBuffer lines;
  TRenamingWorkflow workflow(decoder, lines);
  if (!workflow.EnsureLibraries()) {
    std::fprintf(stderr, "morvane-bench: %s\n", workflow.LibraryError().c_str());
    return 2;
  }
  const TLookupMethods methods(workflow, decoder, options.CliPath, scratch.string());

  // The first pass warms the page cache and gives the values every method must match.
  const TMethodRun reference = methods.Bare(corpus.All);
  for (std::size_t i = 0; i < corpus.All.size(); ++i) {
    if (reference.CreationTimes[i].empty()) {
      std::fprintf(stderr, "morvane-bench: %s has no creation time\n", corpus.All[i].c_str());
      return 1;
    }
  }
  auto expectedOf = [&](const std::vector<std::string>& files) {
    std::vector<std::string> values;
    for (const std::string& file : files) {
      const auto at = std::lower_bound(corpus.All.begin(), corpus.All.end(), file);
      values.push_back(reference.CreationTimes[static_cast<std::size_t>(at - corpus.All.begin())]);
    }
    return values;
  };

  std::printf("morvane-bench: %zu files (%zu small, %zu large) in %s\n", corpus.All.size(), corpus.Small.size(),
              corpus.Large.size(), options.CorpusFolder.c_str());
  std::printf("median of %d runs, ffprobe of %d; morvane-cli: %s\n\n", options.Repeats, options.FfprobeRepeats,
              options.CliPath.c_str());

  const TSetResult all = MeasureSet(methods, corpus.All, reference.CreationTimes, options);
  if (!all.Valid) return 1;
  PrintSet("whole corpus", all, corpus.All.size(), true);
  if (!corpus.Large.empty()) {
    const TSetResult large = MeasureSet(methods, corpus.Large, expectedOf(corpus.Large), options);
    if (!large.Valid) return 1;
    PrintSet("large files only (c spreads its process start over these few; no targets)", large,
             corpus.Large.size(), false);
  }

  const TMedians perFileInProcess{all.CliInProcess.Wall / static_cast<double>(corpus.All.size()),
                                  all.CliInProcess.Cpu / static_cast<double>(corpus.All.size())};
  if (!MeasureCliStart(methods, corpus.Small.empty() ? corpus.All.front() : corpus.Small.front(), perFileInProcess,
                       options))
    return 1;

  const TDecoderSteps steps = MeasureDecoderSteps(decoder, corpus.All);
  if (steps.Found != corpus.All.size()) {
    std::fprintf(stderr, "morvane-bench: the step-by-step lookup found %zu of %zu creation times\n", steps.Found,
                 corpus.All.size());
    return 1;
  }
  PrintDecoderSteps(steps, all.Bare.Wall, corpus.All.size());

  if (!MeasureMemory(workflow, corpus.All, options)) return 1;
  std::filesystem::remove_all(scratch);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TBenchOptions options;
  std::string error;
  if (!ParseBenchOptions(std::vector<std::string>(argv + 1, argv + argc), MORVANE_CLI_PATH, options, error)) {
    std::fprintf(stderr, "morvane-bench: %s\n%s", error.c_str(), BenchUsage);
    return 2;
  }
  if (options.Help) {
    std::fputs(BenchUsage, stdout);
    return 0;
  }
  try {
    return RunBench(options);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "morvane-bench: %s\n", failure.what());
    return 1;
  }
}
