// The command line of morvane-bench.
#pragma once
#include <string>
#include <vector>

struct TBenchOptions {
  std::string CorpusFolder;
  std::string CliPath;      // the morvane-cli executable of (c)
  int Repeats = 5;          // runs of (a), (b) and (c); the median is reported
  int FfprobeRepeats = 3;   // runs of (d), the slow one
  int Lookups = 5000;       // lookups of the memory run
  int EarlyLookups = 500;   // the memory run's first reading
  bool Help = false;
};

inline constexpr const char* BenchUsage =
    "usage: morvane-bench [--help] [--cli PATH] [--repeats N] [--ffprobe-repeats N] [--lookups N] CORPUS_FOLDER\n"
    "Measures the creation-time lookup over the media files of CORPUS_FOLDER (made by\n"
    "bench/make_corpus.sh): (a) a bare library loop, (b) morvane-cli list in this process,\n"
    "(c) one morvane-cli list process, (d) one ffprobe process per file; and (e) the resident\n"
    "set over --lookups lookups through the decoder path.\n";

// False with `error` set when the command line is not valid; with --help only Help is set. `defaultCliPath` is taken
// when --cli is not given.
bool ParseBenchOptions(const std::vector<std::string>& arguments, const std::string& defaultCliPath,
                       TBenchOptions& options, std::string& error);
