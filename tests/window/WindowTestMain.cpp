// Starts the toolkit on the offscreen platform before any test runs, as the program does
// before its window, with the main-thread hand-off of the program installed.
#include <gtest/gtest.h>

#include <QApplication>

#include "window/MainThreadHooks.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int toolkitArgc = 1;
  char* toolkitArgv[] = {argv[0], nullptr};
  QApplication application(toolkitArgc, toolkitArgv);
  TMainThreadHooks hooks;
  return RUN_ALL_TESTS();
}
