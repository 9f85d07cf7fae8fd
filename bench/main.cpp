// morvane-bench: what the creation-time lookup of `morvane-cli list` costs per file, on one
// and on two worker threads, against bare library loops with and without the stream probe,
// ExifTool's batch mode and one ffprobe process per file; that every way of listing writes
// the same bytes; and whether memory stays flat over thousands of lookups on one thread and
// on worker threads. Ratios within one run, no timing thresholds that fail anything.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "bench/BenchOptions.h"
#include "bench/ChildProcess.h"
#include "bench/Corpus.h"
#include "bench/LookupMethods.h"
#include "bench/ResidentMemory.h"
#include "workflow/lookup/LineBuffer.h"
#include "workflow/lookup/LookupPool.h"
#include "workflow/RenamingWorkflow.h"

#ifndef MORVANE_CLI_PATH
#define MORVANE_CLI_PATH ""
#endif

namespace {

// morvane-cli list on one thread stays within this factor of the open-only loop.
constexpr double kCliOverOpenOnlyTarget = 1.5;
// With two workers on two cores it beats the single-threaded open-only loop.
constexpr double kTwoWorkersOverOpenOnlyTarget = 1.0;
// ExifTool's batch mode over the small files takes at least this many times as long.
constexpr double kExifToolOverCliSmallTarget = 5.0;
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
  TMedians Medians() const { return Wall.empty() ? TMedians{} : TMedians{Median(Wall), Median(Cpu)}; }
};

// The methods of one set, in the order of the table.
enum TMethod {
  mOpenOnly,
  mProbe,
  mInProcessJ1,
  mInProcessJ2,
  mFastJ1,
  mFastJ2,
  mFull,
  mExifTool,
  mFfprobe,
  mMethodCount
};

constexpr const char* kMethodLabels[mMethodCount] = {
    "open-only bare loop (no probe), in-process", "probe bare loop, in-process",
    "list -j 1, in-process (libraries loaded)",   "list -j 2, in-process (libraries loaded)",
    "morvane-cli list -j 1, one process",
    "morvane-cli list -j 2, one process",         "morvane-cli list --full-probe -j 1",
    "exiftool batch mode, one process",           "ffprobe, one process per file"};

// Valid is false when a method failed or disagreed. Start: one morvane-cli process listing
// one small file, less that file's lookup in-process, measured beside the set's runs.
struct TSetResult {
  TMedians Methods[mMethodCount];
  double StartSeconds = 0;
  bool Valid = true;
};

bool Fails(const char* method, const TMethodRun& run) {
  if (run.Error.empty()) return false;
  std::fprintf(stderr, "morvane-bench: %s: %s\n", method, run.Error.c_str());
  return true;
}

// Every method must give the same creation time for every file as the probe loop did.
bool Agrees(const char* method, const TMethodRun& run, const std::vector<std::string>& files,
            const std::vector<std::string>& expected) {
  if (Fails(method, run)) return false;
  if (run.CreationTimes.size() != expected.size()) {
    std::fprintf(stderr, "morvane-bench: %s gave %zu values for %zu files\n", method, run.CreationTimes.size(),
                 expected.size());
    return false;
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (run.CreationTimes[i] != expected[i]) {
      std::fprintf(stderr, "morvane-bench: %s: %s: \"%s\", the probe loop read \"%s\"\n", method, files[i].c_str(),
                   run.CreationTimes[i].c_str(), expected[i].c_str());
      return false;
    }
  }
  return true;
}

// ExifTool writes the time in its own form: it must give a value for every file.
bool ExifToolFindsEvery(const TMethodRun& run, std::size_t files) {
  if (Fails("exiftool", run)) return false;
  const auto found = std::count_if(run.CreationTimes.begin(), run.CreationTimes.end(),
                                   [](const std::string& value) { return !value.empty(); });
  if (run.CreationTimes.size() == files && static_cast<std::size_t>(found) == files) return true;
  std::fprintf(stderr, "morvane-bench: exiftool gave %zu values for %zu files\n", static_cast<std::size_t>(found),
               files);
  return false;
}

// Each morvane-cli way of listing must write exactly the bytes of the first.
bool SameOutput(const char* method, const TMethodRun& run, const TMethodRun& reference) {
  if (Fails(method, run)) return false;
  if (run.Output == reference.Output) return true;
  std::fprintf(stderr, "morvane-bench: %s wrote other list output than morvane-cli list -j 1\n", method);
  return false;
}

// The runs of the methods are interleaved so that a busy phase of the machine hits them
// all alike. The list output of -j 8 is compared once, not timed.
TSetResult MeasureSet(const TLookupMethods& methods, const std::vector<std::string>& files,
                      const std::vector<std::string>& expected, const TBenchOptions& options, bool withExifTool,
                      const std::string& startFile) {
  TSamples samples[mMethodCount];
  std::vector<double> starts;
  TSetResult result;
  auto valid = [&](bool ok) { return result.Valid = result.Valid && ok; };
  for (int repeat = 0; repeat < std::max(options.Repeats, options.FfprobeRepeats) && result.Valid; ++repeat) {
    if (repeat < options.Repeats) {
      const TMethodRun runs[] = {methods.OpenOnly(files),
                                 methods.Bare(files),
                                 methods.CliInProcess(files, {"-j", "1"}),
                                 methods.CliInProcess(files, {"-j", "2"}),
                                 methods.CliProcess(files, {"-j", "1"}),
                                 methods.CliProcess(files, {"-j", "2"}),
                                 methods.CliProcess(files, {"--full-probe", "-j", "1"})};
      for (int method = mOpenOnly; method <= mFull; ++method) {
        valid(Agrees(kMethodLabels[method], runs[method], files, expected));
        samples[method].Add(runs[method]);
      }
      valid(SameOutput("-j 2", runs[mFastJ2], runs[mFastJ1]) && SameOutput("--full-probe", runs[mFull], runs[mFastJ1]));
      const TMethodRun oneFile = methods.CliProcess({startFile}, {"-j", "1"});
      const TMethodRun oneInProcess = methods.CliInProcess({startFile}, {"-j", "1"});
      valid(!Fails("morvane-cli list of one file", oneFile) && !Fails("in-process list of one file", oneInProcess));
      starts.push_back(oneFile.Seconds - oneInProcess.Seconds);
      if (repeat == 0) valid(SameOutput("-j 8", methods.CliProcess(files, {"-j", "8"}), runs[mFastJ1]));
    }
    if (result.Valid && repeat < options.FfprobeRepeats) {
      if (withExifTool) {
        const TMethodRun exifTool = methods.ExifToolBatch(files);
        valid(ExifToolFindsEvery(exifTool, files.size()));
        samples[mExifTool].Add(exifTool);
      }
      const TMethodRun ffprobe = methods.FfprobePerFile(files);
      valid(Agrees(kMethodLabels[mFfprobe], ffprobe, files, expected));
      samples[mFfprobe].Add(ffprobe);
    }
  }
  for (int method = 0; method < mMethodCount; ++method) result.Methods[method] = samples[method].Medians();
  if (!starts.empty()) result.StartSeconds = Median(starts);
  return result;
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

void PrintRatio(const char* label, double wall, double cpu) {
  std::printf("  %-44s %9.2fx %9.2fx", label, wall, cpu);
}

void PrintSet(const char* title, const TSetResult& result, std::size_t files, bool small, bool withExifTool) {
  const TMedians* m = result.Methods;
  std::printf("%s, %zu files\n", title, files);
  std::printf("  %-44s %10s %10s\n", "microseconds per file", "wall", "cpu");
  for (int method = 0; method < mMethodCount; ++method) {
    if (method == mExifTool && !withExifTool) {
      std::printf("  %-44s %10s %10s\n", kMethodLabels[method], "-", "-");
      continue;
    }
    std::printf("  %-44s %10.1f %10.1f\n", kMethodLabels[method], MicrosecondsPerFile(m[method].Wall, files),
                MicrosecondsPerFile(m[method].Cpu, files));
  }
  const double j1OverOpen = m[mFastJ1].Wall / m[mOpenOnly].Wall;
  PrintRatio("cli -j 1 / open-only", j1OverOpen, m[mFastJ1].Cpu / m[mOpenOnly].Cpu);
  std::printf("   target <= %.1fx (wall): %s\n", kCliOverOpenOnlyTarget, Verdict(j1OverOpen <= kCliOverOpenOnlyTarget));
  const double j2OverOpen = m[mFastJ2].Wall / m[mOpenOnly].Wall;
  PrintRatio("cli -j 2 / open-only", j2OverOpen, m[mFastJ2].Cpu / m[mOpenOnly].Cpu);
  std::printf("   target < %.1fx (wall): %s\n", kTwoWorkersOverOpenOnlyTarget,
              Verdict(j2OverOpen < kTwoWorkersOverOpenOnlyTarget));
  // The start of a process is mostly the load of the media libraries, which no lookup avoids.
  const double lookupsOnly = (m[mFastJ1].Wall - result.StartSeconds) / m[mOpenOnly].Wall;
  PrintRatio("cli -j 1 less one process start / open-only", lookupsOnly, lookupsOnly);
  std::printf("   (wall only; start %.1f ms)\n", result.StartSeconds * 1e3);
  PrintRatio("full cli / cli -j 1", m[mFull].Wall / m[mFastJ1].Wall, m[mFull].Cpu / m[mFastJ1].Cpu);
  std::printf("\n");
  PrintRatio("in-process list -j 1 / open-only", m[mInProcessJ1].Wall / m[mOpenOnly].Wall,
             m[mInProcessJ1].Cpu / m[mOpenOnly].Cpu);
  std::printf("\n");
  PrintRatio("in-process list -j 2 / open-only", m[mInProcessJ2].Wall / m[mOpenOnly].Wall,
             m[mInProcessJ2].Cpu / m[mOpenOnly].Cpu);
  std::printf("\n");
  if (withExifTool) {
    const double exifOverCli = m[mExifTool].Wall / m[mFastJ1].Wall;
    const double target = small ? kExifToolOverCliSmallTarget : 1.0;
    PrintRatio("exiftool / cli -j 1", exifOverCli, m[mExifTool].Cpu / m[mFastJ1].Cpu);
    std::printf("   target %s %.0fx (wall): %s\n", small ? ">=" : ">", target,
                Verdict(small ? exifOverCli >= target : exifOverCli > target));
  }
  PrintRatio("ffprobe / cli -j 1", m[mFfprobe].Wall / m[mFastJ1].Wall, m[mFfprobe].Cpu / m[mFastJ1].Cpu);
  std::printf("\n\n");
}

void PrintDecoderSteps(const TDecoderSteps& steps, double bareSeconds, std::size_t files) {
  std::printf("where the full lookup spends its time, all files, one pass (wall)\n");
  std::printf("  LoadFile (open, probe, options)            %10.1f\n", MicrosecondsPerFile(steps.LoadFile, files));
  std::printf("    the probe loop, for comparison (median)  %10.1f\n", MicrosecondsPerFile(bareSeconds, files));
  std::printf("  FileInfoText                               %10.1f\n", MicrosecondsPerFile(steps.FileInfoText, files));
  std::printf("  line buffer + key search                   %10.1f\n", MicrosecondsPerFile(steps.LineSearch, files));
  std::printf("  CloseFile                                  %10.1f\n\n", MicrosecondsPerFile(steps.CloseFile, files));
}

// What one morvane-cli process costs before and around its lookups.
bool MeasureCliStart(const TLookupMethods& methods, const std::string& firstFile, const TBenchOptions& options) {
  TSamples help, oneFile, inProcess;
  for (int repeat = 0; repeat < options.Repeats; ++repeat) {
    const TMethodRun h = methods.CliCommand({"--help"});
    const TMethodRun o = methods.CliCommand({"list", "-j", "1", firstFile});
    const TMethodRun i = methods.CliInProcess({firstFile}, {"-j", "1"});
    if (Fails("morvane-cli --help", h) || Fails("morvane-cli list", o) || Fails("in-process list", i)) return false;
    help.Add(h);
    oneFile.Add(o);
    inProcess.Add(i);
  }
  const TMedians h = help.Medians();
  const TMedians o = oneFile.Medians();
  const double startSeconds = o.Wall - inProcess.Medians().Wall;
  std::printf("morvane-cli start, one process                  wall        cpu\n");
  std::printf("  %-44s %10.1f %10.1f\n", "--help (no libraries), us", h.Wall * 1e6, h.Cpu * 1e6);
  std::printf("  %-44s %10.1f %10.1f\n", "list -j 1 of one small file, us", o.Wall * 1e6, o.Cpu * 1e6);
  std::printf("  %-44s %10.1f\n\n", "  less its lookup in-process (the start), us", startSeconds * 1e6);
  return true;
}

void PrintMemory(const char* title, int early, long earlyKiB, int lookups, long finalKiB) {
  const long growth = finalKiB - earlyKiB;
  const int later = lookups - early;
  std::printf("%s\n", title);
  std::printf("  VmRSS after %5d lookups  %8ld KiB\n", early, earlyKiB);
  std::printf("  VmRSS after %5d lookups  %8ld KiB   (%+ld KiB, %.1f bytes per later lookup)\n", lookups, finalKiB,
              growth, later > 0 ? static_cast<double>(growth) * 1024 / later : 0.0);
  std::printf("  flat (growth < %ld KiB): %s\n", kFlatMemoryKiB, growth < kFlatMemoryKiB ? "yes" : "NO");
}

// (e) lookups through the workflow's decoder path on this thread, cycling over the corpus.
bool MeasureMemory(TRenamingWorkflow& workflow, const std::vector<std::string>& files, const TBenchOptions& options) {
  TRunOptions runOptions = workflow.Options();
  runOptions.Lookup.Path = TLookupPath::HeaderFirst;
  workflow.SetOptions(runOptions);
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
  PrintMemory("(e) memory, header-first lookups on one thread", options.EarlyLookups, early, options.Lookups, final);
  return true;
}

// (f) the same number of lookups on worker threads, in batches of EarlyLookups names: each
// batch is one run of the pool, as one morvane-cli command is, and its rows are dropped.
bool MeasureWorkerMemory(const std::vector<std::string>& files, unsigned workers, const TBenchOptions& options) {
  std::vector<std::string> batch;
  for (int index = 0; index < options.EarlyLookups; ++index)
    batch.push_back(files[static_cast<std::size_t>(index) % files.size()]);
  long early = -1;
  std::size_t missing = 0;
  int done = 0;
  while (done < options.Lookups) {
    for (const TFileRow& row : LookUpRowsOnWorkers(batch, workers, {TLookupPath::HeaderFirst, {}}, nullptr))
      if (row.CreationTime.empty()) ++missing;
    done += options.EarlyLookups;
    if (early < 0) early = ResidentKiB();
  }
  const long final = ResidentKiB();
  if (missing > 0 || early < 0 || final < 0) {
    std::fprintf(stderr, "morvane-bench: %zu worker lookups found no creation time, or no VmRSS\n", missing);
    return false;
  }
  const std::string title = "(f) memory, header-first lookups on " + std::to_string(workers) + " worker threads";
  PrintMemory(title.c_str(), options.EarlyLookups, early, done, final);
  return true;
}

bool HaveExifTool() {
  std::string error;
  double cpu = 0;
  return RunChild({"exiftool", "-ver"}, "/dev/null", cpu, error) == 0;
}

int RunBench(const TBenchOptions& options) {
  const TCorpus corpus = ReadCorpus(options.CorpusFolder);
  if (corpus.Small.empty() || corpus.Large.empty()) {
    std::fprintf(stderr, "morvane-bench: no small or no large media files in %s\n", options.CorpusFolder.c_str());
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
  const bool withExifTool = HaveExifTool();
  if (!withExifTool) std::fprintf(stderr, "morvane-bench: exiftool is not installed; its rows stay empty\n");

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
  std::printf("median of %d runs, exiftool and ffprobe of %d; %u processors; morvane-cli: %s\n\n", options.Repeats,
              options.FfprobeRepeats, std::thread::hardware_concurrency(), options.CliPath.c_str());

  if (!MeasureCliStart(methods, corpus.Small.front(), options)) return 1;
  for (const bool small : {true, false}) {
    const std::vector<std::string>& files = small ? corpus.Small : corpus.Large;
    const TSetResult result = MeasureSet(methods, files, expectedOf(files), options, withExifTool, corpus.Small.front());
    if (!result.Valid) return 1;
    PrintSet(small ? "small files" : "large files (1080p and 4K H.264)", result, files.size(), small, withExifTool);
  }

  const TDecoderSteps steps = MeasureDecoderSteps(decoder, corpus.All);
  if (steps.Found != corpus.All.size()) {
    std::fprintf(stderr, "morvane-bench: the step-by-step lookup found %zu of %zu creation times\n", steps.Found,
                 corpus.All.size());
    return 1;
  }
  PrintDecoderSteps(steps, methods.Bare(corpus.All).Seconds, corpus.All.size());

  if (!MeasureMemory(workflow, corpus.All, options)) return 1;
  for (unsigned workers : {2u, 8u})
    if (!MeasureWorkerMemory(corpus.All, workers, options)) return 1;
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
