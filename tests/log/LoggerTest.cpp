// The logger as the components use it: levels, the single-instance rule, muting.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Base/FFError.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "log/LogCapture.h"
#include "platform/System.h"

namespace {

TEST(LogLevelTest, ConvertsToAndFromLibraryLevels) {
  EXPECT_EQ(LogLevelToAVLevel(llQuiet), -8);
  EXPECT_EQ(LogLevelToAVLevel(llError), 16);
  EXPECT_EQ(LogLevelToAVLevel(llDebug), 48);
  EXPECT_EQ(AVLevelToLogLevel(-8), llQuiet);
  EXPECT_EQ(AVLevelToLogLevel(-9), llQuiet);
  EXPECT_EQ(AVLevelToLogLevel(-100), llQuiet);
  EXPECT_EQ(AVLevelToLogLevel(-7), llPanic);
  EXPECT_EQ(AVLevelToLogLevel(-1), llPanic);
  EXPECT_EQ(AVLevelToLogLevel(7), llPanic);
  EXPECT_EQ(AVLevelToLogLevel(8), llFatal);
  EXPECT_EQ(AVLevelToLogLevel(15), llFatal);
  EXPECT_EQ(AVLevelToLogLevel(16), llError);
  EXPECT_EQ(AVLevelToLogLevel(23), llError);
  EXPECT_EQ(AVLevelToLogLevel(24), llWarning);
  EXPECT_EQ(AVLevelToLogLevel(32), llInfo);
  EXPECT_EQ(AVLevelToLogLevel(47), llVerbose);
  EXPECT_EQ(AVLevelToLogLevel(48), llDebug);
  EXPECT_EQ(AVLevelToLogLevel(56), llDebug);
  for (int level = llQuiet; level <= llDebug; ++level)
    EXPECT_EQ(AVLevelToLogLevel(LogLevelToAVLevel(static_cast<TLogLevel>(level))), level);
  const char* const names[] = {"Quiet", "Panic", "Fatal", "Error", "Warning", "Info", "Verbose", "Debug"};
  for (int level = llQuiet; level <= llDebug; ++level)
    EXPECT_STREQ(LogLevelName(static_cast<TLogLevel>(level)), names[level]);
}

class LoggerTest : public ::testing::Test {
 protected:
  TFFLogger logger_;
};

TEST_F(LoggerTest, IsTheProcessWideLoggerAndAllowsNoSecondInstance) {
  EXPECT_EQ(DefaultLogger(), &logger_);
  EXPECT_FALSE(logger_.AutoCreated());
  try {
    TFFLogger second;
    FAIL() << "a second application logger was created";
  } catch (const EAssertionFailed& failure) {
    EXPECT_STREQ(failure.what(), "Allow creating only one instance of TFFLogger.");
  }
  EXPECT_EQ(DefaultLogger(), &logger_);
  EXPECT_FALSE(DefaultLogger()->AutoCreated());
}

TEST_F(LoggerTest, DropsEverythingUntilAHandlerIsSetAndFiltersByLevel) {
  EXPECT_TRUE(logger_.Muted());
  logger_.Log(nullptr, llError, "before");
  logger_.SetLogLevel(llInfo);
  LogCapture capture(logger_);
  EXPECT_FALSE(logger_.Muted());
  int sender = 0;
  logger_.Log(&sender, llWarning, "kept");
  logger_.Log(&sender, llVerbose, "above the level");
  logger_.LogFmt(&sender, llError, "%s #%d [0x%x]", "formatted", 7, 255);
  logger_.Log(&sender, llInfo, "two\nlines are one message");
  const auto entries = capture.Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].sender, &sender);
  EXPECT_EQ(entries[0].level, llWarning);
  EXPECT_EQ(entries[0].message, "kept");
  EXPECT_EQ(entries[0].threadId, platform::CurrentThreadId());
  EXPECT_EQ(entries[1].message, "formatted #7 [0xFF]");
  EXPECT_EQ(entries[2].message, "two\nlines are one message");

  logger_.SetActive(false);
  EXPECT_TRUE(logger_.Muted());
  logger_.Log(nullptr, llError, "inactive");
  logger_.SetActive(true);
  EXPECT_FALSE(logger_.Muted());
  logger_.SetOnLog(nullptr);
  EXPECT_TRUE(logger_.Muted());
  EXPECT_EQ(capture.Entries().size(), 3u);
}

TEST_F(LoggerTest, AHandlerThatLogsGetsItsMessageAfterItReturns) {
  std::vector<std::string> order;
  logger_.SetOnLog([&](const void*, std::uint32_t, TLogLevel, const std::string& message) {
    order.push_back("begin " + message);
    if (message == "ping") logger_.Log(nullptr, llInfo, "pong");
    order.push_back("end " + message);
  });
  logger_.Log(nullptr, llInfo, "ping");
  EXPECT_EQ(order, (std::vector<std::string>{"begin ping", "end ping", "begin pong", "end pong"}));
}

TEST(AutoCreatedLoggerTest, IsMadeByTheFirstLibraryMessageAndReplacedByTheApplicationsLogger) {
  CallLibraryLog(nullptr, 16, "before any logger\n");
  TFFLogger* automatic = DefaultLogger();
  ASSERT_TRUE(automatic->AutoCreated());
  EXPECT_TRUE(automatic->Muted());
  EXPECT_EQ(DefaultLogger(), automatic);

  auto application = std::make_unique<TFFLogger>();
  EXPECT_EQ(DefaultLogger(), application.get());
  EXPECT_FALSE(application->AutoCreated());
  LogCapture capture(*application);
  ASSERT_TRUE(FFLoader().LoadLib(liCRuntime)) << FFLoader().LastErrMsg();
  DefaultLogger()->Log(nullptr, llError, "component message");
  CallLibraryLog(nullptr, 16, "library message\n");
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"component message", "library message"}));

  // Once the application's logger is gone, the next user gets a fresh automatic one.
  application.reset();
  EXPECT_TRUE(DefaultLogger()->AutoCreated());
}

}  // namespace
