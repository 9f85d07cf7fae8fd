// The command line of morvane-bench.
#pragma once
#include <string>
#include <vector>

struct TBenchOptions {
  std::string CorpusFolder;
  std::string CliPath;      // the morvane-cli executable of (c)
  int Repeats = 5;          // runs of (a), (b) and (c); the median is reported
  int FfprobeRepeats = 3;   // runs of (d), the slow one
  int Lookups = 10000;      // lookups of each memory run
  int EarlyLookups = 1000;  // each memory run's first reading, and its batch on workers
  bool Help = false;
};

inline constexpr const char* BenchUsage =
    "usage: morvane-bench [--help] [--cli PATH] [--repeats N] [--ffprobe-repeats N] [--lookups N] CORPUS_FOLDER\n"
    "Measures the creation-time lookup over the media files of CORPUS_FOLDER (made by\n"
    "bench/make_corpus.sh), small and large files apart: bare library loops without and with\n"
    "the stream probe, morvane-cli list in this process and as processes with -j 1, -j 2 and\n"
    "--full-probe, exiftool in batch mode, one ffprobe process per file; and the resident set\n"
    "over --lookups lookups on one thread and on 2 and 8 worker threads.\n";

// False with `error` set when the command line is not valid; with --help only Help is set. `defaultCliPath` is taken
// when --cli is not given.
bool ParseBenchOptions(const std::vector<std::string>& arguments, const std::string& defaultCliPath,
                       TBenchOptions& options, std::string& error);
