// morvane-window-bench: what the window adds to a selection over a corpus, and what a log
// line from another thread costs on its way to the main thread's handler. Run by
// bench/run.sh after morvane-bench; figures are medians of interleaved runs.
#include <QApplication>
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "bench/Corpus.h"
#include "window/FileNameText.h"
#include "window/MainThreadHooks.h"
#include "window/MainWindow.h"
#include "workflow/RenamingWorkflow.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& run) {
  const Clock::time_point start = Clock::now();
  run();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The same selection headless (the workflow over a plain line buffer) and through the
// window (dialog answered at once, progress strip, log view as line buffer, list filled).
void CompareSelection(const std::vector<std::string>& files, int repeats) {
  TFFDecoder decoder;
  TVectorLineBuffer lines;
  TRenamingWorkflow headless(decoder, lines);
  TfrmDecoder window;
  QStringList chosen;
  for (const std::string& file : files) chosen << DisplayFileName(file);
  window.SetDialogRunner([&](QFileDialog&) { return std::optional<QStringList>(chosen); });
  window.show();
  headless.SelectFiles(files);  // libraries loaded and files cached before timing
  window.RzButton1Click();

  std::vector<double> bare, windowed;
  for (int round = 0; round < repeats; ++round) {
    bare.push_back(Seconds([&] { headless.SelectFiles(files); }));
    windowed.push_back(Seconds([&] { window.RzButton1Click(); }));
  }
  const double perFile = 1e6 / static_cast<double>(files.size());
  std::printf("selection of %zu files, median of %d runs\n", files.size(), repeats);
  std::printf("  workflow alone      %8.1f us/file\n", Median(bare) * perFile);
  std::printf("  through the window  %8.1f us/file\n", Median(windowed) * perFile);
  std::printf("  window/workflow     %8.3f x\n", Median(windowed) / Median(bare));
}

// A worker logs `count` lines while the main thread joins it; then the main thread's event
// loop hands them to OnLog. Reported per line, both halves.
void MeasureLogHandOff(int count, int repeats) {
  TFFLogger logger;
  long delivered = 0;
  logger.SetOnLog([&](const void*, std::uint32_t, TLogLevel, const std::string&) { ++delivered; });
  std::vector<double> logging, handling;
  for (int round = 0; round < repeats; ++round) {
    logging.push_back(Seconds([&] {
      std::thread worker([&] {
        for (int i = 0; i < count; ++i) logger.LogFmt(nullptr, llInfo, "line %d", i);
      });
      worker.join();
    }));
    handling.push_back(Seconds([] { QCoreApplication::processEvents(); }));
  }
  std::printf("log lines from another thread (%d per run, %ld delivered)\n", count, delivered);
  std::printf("  logging thread      %8.3f us/line\n", Median(logging) * 1e6 / count);
  std::printf("  main thread handler %8.3f us/line\n", Median(handling) * 1e6 / count);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvane-window-bench CORPUS_FOLDER\n");
    return 2;
  }
  FFLogUnit logUnit;
  FFLoadUnit loadUnit;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int toolkitArgc = 1;
  char* toolkitArgv[] = {argv[0], nullptr};
  QApplication application(toolkitArgc, toolkitArgv);
  TMainThreadHooks hooks;

  const TCorpus corpus = ReadCorpus(argv[1]);
  if (corpus.All.empty()) {
    std::fprintf(stderr, "no media files in %s\n", argv[1]);
    return 1;
  }
  CompareSelection(corpus.All, 7);
  MeasureLogHandOff(100000, 5);
  return 0;
}
