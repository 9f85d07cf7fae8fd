// morvane-undo-bench: what `undo --list` and `undo` cost as the undo journal grows, from
// 12,500 to 100,000 one-file rename runs. Both read the whole journal; the time per run
// must stay flat (a ratio near 1 between the largest and the smallest journal), which a
// journal read that searched its runs for every line would not. Ratios within one run,
// nothing enforced.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ChildProcess.h"
#include "workflow/undo/UndoJournal.h"

#ifndef MORVANE_CLI_PATH
#define MORVANE_CLI_PATH ""
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kSizes[] = {12'500, 25'000, 50'000, 100'000};
constexpr int kRepeats = 5;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Reads the journal as `undo --list` does and writes its lines nowhere; returns the runs.
std::size_t ListRuns(const std::string& journal) {
  std::vector<TJournalRun> runs;
  if (const TResult read = ReadJournal(journal, runs); !read) {
    std::fprintf(stderr, "morvane-undo-bench: %s\n", read.Message().c_str());
    std::exit(1);
  }
  std::size_t bytes = 0;
  for (const TJournalRun& run : runs) bytes += RunListLine(run).size();
  return bytes > 0 ? runs.size() : 0;
}

// Reads the journal as `undo` does before it moves anything: the newest run and one by id.
bool PickRuns(const std::string& journal, const std::string& firstId) {
  std::vector<TJournalRun> runs;
  return ReadJournal(journal, runs) && MostRecentRunToUndo(runs) && FindRun(runs, firstId);
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("morvane-undo-bench-" + std::to_string(::getpid()));
  const fs::path stateHome = folder / "state";
  fs::create_directories(stateHome);
  ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
  const std::string journal = DefaultJournalPath();

  std::printf("%10s %16s %16s %16s\n", "runs", "list us/run", "undo us/run", "cli list us/run");
  std::vector<double> listPerRun, pickPerRun, cliPerRun;
  std::string firstId;
  std::size_t written = 0;
  auto start = std::chrono::system_clock::now();
  for (const std::size_t size : kSizes) {
    // One file per run, each run a second after the one before, as many rename runs leave it.
    for (; written < size; ++written) {
      TJournalWriter writer(journal, start + std::chrono::seconds(written));
      const std::string name = (folder / ("clip" + std::to_string(written))).string();
      writer.RecordRename(name + ".mp4", name + "-renamed.mp4");
      if (firstId.empty()) firstId = writer.RunId();
    }
    std::vector<double> list, pick, cli;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
      auto begin = Clock::now();
      if (ListRuns(journal) != size) {
        std::fprintf(stderr, "morvane-undo-bench: the journal does not hold %zu runs\n", size);
        return 1;
      }
      list.push_back(Seconds(begin));
      begin = Clock::now();
      if (!PickRuns(journal, firstId)) return 1;
      pick.push_back(Seconds(begin));
      double cpu = 0;
      std::string error;
      begin = Clock::now();
      if (RunChild({MORVANE_CLI_PATH, "undo", "--list"}, (folder / "list.txt").string(), cpu, error) != 0) {
        std::fprintf(stderr, "morvane-undo-bench: morvane-cli undo --list: %s\n", error.c_str());
        return 1;
      }
      cli.push_back(Seconds(begin));
    }
    const double runs = static_cast<double>(size);
    listPerRun.push_back(Median(list) * 1e6 / runs);
    pickPerRun.push_back(Median(pick) * 1e6 / runs);
    cliPerRun.push_back(Median(cli) * 1e6 / runs);
    std::printf("%10zu %16.3f %16.3f %16.3f\n", size, listPerRun.back(), pickPerRun.back(), cliPerRun.back());
  }
  std::printf("time per run, 100,000 runs over 12,500 runs (1 = linear, 8 = square):\n"
              "  list %.2f, undo %.2f, cli undo --list %.2f\n",
              listPerRun.back() / listPerRun.front(), pickPerRun.back() / pickPerRun.front(),
              cliPerRun.back() / cliPerRun.front());
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
