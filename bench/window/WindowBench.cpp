// morvane-window-bench: what the window adds to a selection over a corpus, what a log
// line from another thread costs on its way to the main thread's handler, and how long the
// window takes to close after renaming many files. Run by bench/run.sh after
// morvane-bench; figures are medians of interleaved runs.
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QListView>
#include <QTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "bench/Corpus.h"
#include "window/FileDialogs.h"
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

// A copy of the MP4 or MOV `bytes` whose movie header says it was made `seconds` later.
std::string Later(std::string bytes, std::uint32_t seconds) {
  const std::size_t header = bytes.find("mvhd");
  if (header == std::string::npos || header + 12 > bytes.size()) return bytes;
  // Version 0: the creation time is a big-endian 32-bit count after version and flags.
  const std::size_t at = header + 8;
  std::uint32_t time = 0;
  for (std::size_t i = 0; i < 4; ++i) time = (time << 8) | static_cast<unsigned char>(bytes[at + i]);
  time += seconds;
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(time >> (24 - 8 * i));
  return bytes;
}

// `count` copies of one small file, each with its own creation time, are selected and
// renamed with the settings remembered in a file; the event loop runs as the user looks at
// the result; then the window is closed and destroyed, as Close ends the program. One run:
// the file system's state after a rename is not repeated cheaply.
void MeasureCloseAfterRename(const std::string& sample, int count) {
  namespace fs = std::filesystem;
  QTemporaryDir scratch;
  const fs::path folder = fs::path(scratch.path().toStdString()) / "files";
  fs::create_directory(folder);
  std::string bytes;
  {
    std::ifstream in(sample, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  QStringList chosen;
  for (int i = 0; i < count; ++i) {
    const fs::path copy = folder / ("clip_" + std::to_string(i) + fs::path(sample).extension().string());
    std::ofstream(copy, std::ios::binary) << Later(bytes, static_cast<std::uint32_t>(i));
    chosen << DisplayFileName(copy.string());
  }
  auto window = std::make_unique<TfrmDecoder>(nullptr, scratch.filePath(QStringLiteral("window.conf")));
  // The real dialog, answered as a person would: every file of the folder selected.
  window->SetDialogRunner([&](QFileDialog& dialog) {
    dialog.setDirectory(QString::fromStdString(folder.string()));
    QTimer::singleShot(0, &dialog, [&dialog, count] {
      auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
      while (view->model()->rowCount(view->rootIndex()) < count) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      view->selectAll();
      QMetaObject::invokeMethod(&dialog, "accept");
    });
    return RunDialogModally(dialog);
  });
  window->show();
  const double select = Seconds([&] { window->RzButton1Click(); });
  const double rename = Seconds([&] { window->RzButton2Click(); });
  const double idle = Seconds([&] {
    QElapsedTimer idling;
    idling.start();
    while (idling.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  });
  const double close = Seconds([&] { window->close(); });
  const double destroy = Seconds([&] { window.reset(); });
  std::printf("close after renaming %d files, one run\n", count);
  std::printf("  select              %8.3f s\n", select);
  std::printf("  rename              %8.3f s\n", rename);
  std::printf("  2 s of events       %8.3f s\n", idle);
  std::printf("  close               %8.3f s\n", close);
  std::printf("  destroy             %8.3f s\n", destroy);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: morvane-window-bench CORPUS_FOLDER [FILES_RENAMED_BEFORE_CLOSE]\n");
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
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  CompareSelection(corpus.All, 7);
  MeasureLogHandOff(100000, 5);
  MeasureCloseAfterRename(corpus.Small.empty() ? corpus.All.front() : corpus.Small.front(),
                          argc == 3 ? std::max(1, std::atoi(argv[2])) : 5000);
  return 0;
}
