// The log file: created or appended, switched when its name changes, one line per message.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>

#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "log/LogCapture.h"
#include "platform/LogFile.h"
#include "platform/System.h"
#include "support/TempFolder.h"

namespace {

std::string ThreadHex() {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", platform::CurrentThreadId());
  return text;
}

// One line of the file: the time as "hh:nn:ss zzz", then the exact rest.
std::string LinePattern(const std::string& level, const std::string& message) {
  return R"([0-2]\d:[0-5]\d:[0-5]\d \d{3} \[)" + ThreadHex() + R"(\] )" + level + ": " + message + "\r\n";
}

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override { logger_.SetLogLevel(llInfo); }
  void TearDown() override {
    logger_.SetLogToFile(false);
    logger_.SetLogFile("");
  }
  std::string Read(const std::string& name) { return ReadWholeFile(folder_ / name); }
  std::string PathOf(const std::string& name) { return (folder_ / name).string(); }

  TempFolder folder_;
  TFFLogger logger_;
};

TEST_F(LogFileTest, ANewFileIsCreatedAndEveryLineFollowsTheFormat) {
  EXPECT_TRUE(logger_.Muted());
  logger_.SetLogToFile(true);
  EXPECT_TRUE(logger_.Muted()) << "no file named yet";
  logger_.SetLogFile(PathOf("new.log"));
  EXPECT_FALSE(logger_.Muted()) << "the file alone is a sink";
  EXPECT_EQ(logger_.LogFile(), PathOf("new.log"));

  logger_.Log(nullptr, llWarning, "first");
  logger_.LogFmt(nullptr, llError, "%s %d", "second", 2);
  logger_.Log(nullptr, llVerbose, "above the level");
  ASSERT_TRUE(FFLoader().LoadLib(liCRuntime)) << FFLoader().LastErrMsg();
  CallLibraryLog(nullptr, 32, "from the library 100%%\n");
  EXPECT_TRUE(std::regex_match(Read("new.log"), std::regex(LinePattern("Warning", "first") +
                                                           LinePattern("Error", "second 2") +
                                                           LinePattern("Info", "from the library 100%"))))
      << Read("new.log");
}

TEST_F(LogFileTest, AnExistingFileIsAppendedTo) {
  folder_.WriteFile("old.log", "kept\r\n");
  logger_.SetLogFile(PathOf("old.log"));
  logger_.SetLogToFile(true);
  logger_.Log(nullptr, llInfo, "appended");
  EXPECT_TRUE(std::regex_match(Read("old.log"), std::regex("kept\r\n" + LinePattern("Info", "appended"))))
      << Read("old.log");
}

TEST_F(LogFileTest, ChangingTheNameClosesTheFileAndTheNextLineGoesToTheNewOne) {
  logger_.SetLogToFile(true);
  logger_.SetLogFile(PathOf("a.log"));
  logger_.Log(nullptr, llInfo, "to a");
  // While the relay writes a file it holds it: another writer is refused.
  EXPECT_EQ(platform::OpenLogFileForAppend(Utf8(folder_ / "a.log")), platform::InvalidFileHandle);
  logger_.SetLogFile(PathOf("a.log"));
  EXPECT_EQ(platform::OpenLogFileForAppend(Utf8(folder_ / "a.log")), platform::InvalidFileHandle)
      << "setting the same name again changes nothing";

  logger_.SetLogFile(PathOf("b.log"));
  const platform::FileHandle released = platform::OpenLogFileForAppend(Utf8(folder_ / "a.log"));
  EXPECT_NE(released, platform::InvalidFileHandle) << "the old file was closed";
  platform::CloseRawFile(released);
  logger_.Log(nullptr, llInfo, "to b");
  EXPECT_TRUE(std::regex_match(Read("a.log"), std::regex(LinePattern("Info", "to a"))));
  EXPECT_TRUE(std::regex_match(Read("b.log"), std::regex(LinePattern("Info", "to b"))));
}

TEST_F(LogFileTest, HandlerAndFileBothReceiveAMessageAndAFileThatCannotBeOpenedIsSkipped) {
  LogCapture capture(logger_);
  logger_.SetLogToFile(true);
  logger_.SetLogFile(PathOf("missing-folder/x.log"));
  logger_.Log(nullptr, llInfo, "handler only");
  logger_.SetLogFile(PathOf("both.log"));
  logger_.Log(nullptr, llInfo, "both");
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"handler only", "both"}));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing-folder"));
  EXPECT_TRUE(std::regex_match(Read("both.log"), std::regex(LinePattern("Info", "both"))));
}

TEST(LogFileSharingTest, TheNameAndSwitchAreSharedAndTheFileReopensAfterTheLoggerEnds) {
  TempFolder folder;
  const std::string path = (folder / "shared.log").string();
  auto first = std::make_unique<TFFLogger>();
  first->SetLogLevel(llInfo);
  first->SetLogToFile(true);
  first->SetLogFile(path);
  first->Log(nullptr, llInfo, "one");
  first.reset();
  const platform::FileHandle free = platform::OpenLogFileForAppend(Utf8(folder / "shared.log"));
  EXPECT_NE(free, platform::InvalidFileHandle) << "the logger's end closed the file";
  platform::CloseRawFile(free);

  TFFLogger second;
  EXPECT_EQ(second.LogFile(), path);
  EXPECT_TRUE(second.LogToFile());
  EXPECT_TRUE(second.Muted()) << "a new logger is muted until a setter recomputes it";
  second.SetActive(true);
  EXPECT_FALSE(second.Muted());
  second.Log(nullptr, llInfo, "two");
  second.SetLogToFile(false);
  second.SetLogFile("");
  EXPECT_TRUE(second.Muted());
  EXPECT_TRUE(std::regex_match(ReadWholeFile(folder / "shared.log"),
                               std::regex(LinePattern("Info", "one") + LinePattern("Info", "two"))));
}

}  // namespace
