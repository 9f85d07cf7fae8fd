// Morvane's window program. The process-wide units start first (log relay, then loader),
// then the toolkit and the main window; shut-down runs the other way round.
#include <QApplication>
#include <QStandardPaths>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "window/FileNameText.h"
#include "window/MainThreadHooks.h"
#include "window/MainWindow.h"
#include "window/StartArguments.h"

int main(int argc, char** argv) {
  const TStartArguments start = ParseStartArguments(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  switch (start.Action) {
    case TStartArguments::TAction::Help:
      std::cout << StartHelpText();
      return std::cout.flush() ? 0 : 1;
    case TStartArguments::TAction::Version:
      std::cout << "morvane " MORVANE_VERSION "\n";
      return std::cout.flush() ? 0 : 1;
    case TStartArguments::TAction::UsageError:
      std::cerr << "morvane: " << start.Error << "\nTry 'morvane --help'.\n";
      return 2;
    case TStartArguments::TAction::OpenWindow:
      break;
  }

  FFLogUnit logUnit;
  FFLoadUnit loadUnit;

  // The toolkit sees only the program's name: the files are the program's own arguments.
  int toolkitArgc = argc > 0 ? 1 : 0;
  char* toolkitArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
  QApplication application(toolkitArgc, toolkitArgv);
  QApplication::setApplicationName(QStringLiteral("Morvane"));
  TMainThreadHooks mainThreadHooks;

  // Size, place, column widths, folders and naming options are remembered in the user's
  // settings folder.
  TfrmDecoder frmDecoder(nullptr,
                         QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/window.conf");
  frmDecoder.show();
  if (!start.Paths.empty()) {
    QStringList paths;
    // A file manager gives full paths; a shell may give them relative to where it is.
    for (const std::string& path : start.Paths) paths << DisplayFileName(std::filesystem::absolute(path).string());
    // Read once the window is on the screen, so that the rows appear as they are read.
    QTimer::singleShot(0, &frmDecoder, [&frmDecoder, paths] { frmDecoder.ListView1PathsDropped(paths); });
  }
  return application.exec();
}
