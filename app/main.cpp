// Morvane's window program. The process-wide units start first (log relay, then loader),
// then the toolkit and the main window; shut-down runs the other way round.
#include <QApplication>
#include <QStandardPaths>

#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "window/MainThreadHooks.h"
#include "window/MainWindow.h"

int main(int argc, char** argv) {
  FFLogUnit logUnit;
  FFLoadUnit loadUnit;

  // The program takes no command line: the toolkit sees only the program's name.
  int toolkitArgc = argc > 0 ? 1 : 0;
  char* toolkitArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
  QApplication application(toolkitArgc, toolkitArgv);
  QApplication::setApplicationName(QStringLiteral("Morvane"));
  TMainThreadHooks mainThreadHooks;

  // Size, place, column widths and folders are remembered in the user's settings folder.
  TfrmDecoder frmDecoder(nullptr,
                         QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/window.conf");
  frmDecoder.show();
  return application.exec();
}
