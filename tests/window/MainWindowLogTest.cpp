// The window's log handler and log-level list, with the relay's messages handed to the main
// thread through Qt's event loop as in the program.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <thread>

#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "platform/System.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"
#include "window/WindowDriver.h"

namespace {

class MainWindowLogTest : public ::testing::Test {
 protected:
  QStringList LogLines() {
    return driver.window().findChild<QPlainTextEdit*>("mmoLog")->toPlainText().split(u'\n');
  }
  WindowDriver driver;
};

TEST_F(MainWindowLogTest, AMessageOnTheMainThreadIsAddedAtOnceWithThreadAndLevel) {
  DefaultLogger()->Log(nullptr, llWarning, "x");
  const QStringList lines = LogLines();
  EXPECT_EQ(lines.first(), "mmoLog");
  EXPECT_EQ(lines.last(), QStringLiteral("#%1.4: x").arg(platform::CurrentThreadId()));
}

TEST_F(MainWindowLogTest, AWorkerThatLogsWhileTheMainThreadJoinsItNeverWaitsForIt) {
  std::uint32_t workerId = 0;
  std::thread worker([&] {
    workerId = platform::CurrentThreadId();
    for (int i = 0; i < 1000; ++i) DefaultLogger()->LogFmt(nullptr, llInfo, "line %d", i);
  });
  worker.join();  // would hang if the worker waited for the main thread
  QCoreApplication::processEvents();
  const QStringList lines = LogLines();
  ASSERT_EQ(lines.size(), 1001);
  for (int i = 0; i < 1000; ++i)
    ASSERT_EQ(lines[i + 1], QStringLiteral("#%1.5: line %2").arg(workerId).arg(i)) << "in order";
}

TEST_F(MainWindowLogTest, TheLogLevelListSetsTheRelaysLevel) {
  RequireMediaLibraries();
  auto* levels = driver.window().findChild<QComboBox*>("cboLogLevel");
  levels->setCurrentIndex(7);
  EXPECT_EQ(DefaultLogger()->LogLevel(), llDebug);
  EXPECT_EQ(ff::avutil.av_log_get_level(), 48) << "the libraries' threshold follows";
  DefaultLogger()->Log(nullptr, llDebug, "now shown");
  EXPECT_EQ(LogLines().last().section(u':', 1), " now shown");
  levels->setCurrentIndex(3);
  EXPECT_EQ(DefaultLogger()->LogLevel(), llError);
  DefaultLogger()->Log(nullptr, llWarning, "dropped");
  EXPECT_EQ(LogLines().last().section(u':', 1), " now shown");
  levels->setCurrentIndex(5);
}

TEST_F(MainWindowLogTest, TheLibrariesMessagesAboutADamagedFileReachTheLogView) {
  TempFolder folder;
  const std::string whole = ReadWholeFile(MakeMediaWithCreationTime(folder / "whole.mp4", "2015-06-01T10:20:30Z"));
  const std::string damaged = folder.WriteFile("damaged.mp4", whole.substr(0, 64)).string();
  driver.Answer(QStringList{Q(damaged)});
  driver.Click("RzButton1");
  ASSERT_EQ(driver.rowCount(), 1);
  EXPECT_EQ(driver.cell(0, 1), "");
  // The failed open leaves the library's own lines, each with the demuxer's prefix.
  bool found = false;
  for (const QString& line : LogLines())
    found = found || (line.contains(QRegularExpression("^#\\d+\\.3: \\[mov,mp4,m4a,3gp,3g2,mj2 @ [0-9A-F]{16}\\] ")));
  EXPECT_TRUE(found) << LogLines().join('\n').toStdString();
}

}  // namespace
