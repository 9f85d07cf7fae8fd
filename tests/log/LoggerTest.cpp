// The log relay as the components use it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "FFLog/FFLog.h"
#include "FFUtils/FFError.h"
#include "platform/System.h"

namespace {

struct Received {
  const void* sender;
  std::uint32_t threadId;
  TLogLevel level;
  std::string message;
};

TEST(LogLevelTest, ConvertsToAndFromLibraryLevels) {
  EXPECT_EQ(LogLevelToAVLevel(llQuiet), -8);
  EXPECT_EQ(LogLevelToAVLevel(llError), 16);
  EXPECT_EQ(LogLevelToAVLevel(llDebug), 48);
  EXPECT_EQ(AVLevelToLogLevel(-8), llQuiet);
  EXPECT_EQ(AVLevelToLogLevel(-100), llQuiet);
  EXPECT_EQ(AVLevelToLogLevel(-1), llPanic);
  EXPECT_EQ(AVLevelToLogLevel(7), llPanic);
  EXPECT_EQ(AVLevelToLogLevel(8), llFatal);
  EXPECT_EQ(AVLevelToLogLevel(23), llError);
  EXPECT_EQ(AVLevelToLogLevel(24), llWarning);
  EXPECT_EQ(AVLevelToLogLevel(32), llInfo);
  EXPECT_EQ(AVLevelToLogLevel(56), llDebug);
  for (int level = llQuiet; level <= llDebug; ++level)
    EXPECT_EQ(AVLevelToLogLevel(LogLevelToAVLevel(static_cast<TLogLevel>(level))), level);
  EXPECT_STREQ(LogLevelName(llWarning), "Warning");
}

class LoggerTest : public ::testing::Test {
 protected:
  TFFLogger logger_;
  std::vector<Received> received_;
  void Listen() {
    logger_.SetOnLog([this](const void* sender, std::uint32_t thread, TLogLevel level, const std::string& message) {
      received_.push_back({sender, thread, level, message});
    });
  }
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
}

TEST_F(LoggerTest, DropsEverythingUntilAHandlerIsSetAndFiltersByLevel) {
  EXPECT_TRUE(logger_.Muted());
  logger_.Log(nullptr, llError, "before");
  Listen();
  EXPECT_FALSE(logger_.Muted());
  int sender = 0;
  logger_.Log(&sender, llWarning, "kept");
  logger_.Log(&sender, llVerbose, "above the level");
  logger_.LogFmt(&sender, llError, "%s #%d [0x%x]", "formatted", 7, 255);
  ASSERT_EQ(received_.size(), 2u);
  EXPECT_EQ(received_[0].sender, &sender);
  EXPECT_EQ(received_[0].level, llWarning);
  EXPECT_EQ(received_[0].message, "kept");
  EXPECT_EQ(received_[0].threadId, platform::CurrentThreadId());
  EXPECT_EQ(received_[1].message, "formatted #7 [0xFF]");

  logger_.SetActive(false);
  EXPECT_TRUE(logger_.Muted());
  logger_.Log(nullptr, llError, "inactive");
  EXPECT_EQ(received_.size(), 2u);
}

TEST_F(LoggerTest, MessagesFromOtherThreadsGoThroughTheMainThreadDispatcher) {
  Listen();
  int dispatched = 0;
  SetMainThreadDispatcher([&](const std::function<void()>& call) {
    ++dispatched;
    call();
  });
  std::thread([&] { logger_.Log(nullptr, llInfo, "from a worker"); }).join();
  logger_.Log(nullptr, llInfo, "from the main thread");
  SetMainThreadDispatcher(nullptr);
  EXPECT_EQ(dispatched, 1) << "the main thread's own messages are delivered directly";
  ASSERT_EQ(received_.size(), 2u);
  EXPECT_NE(received_[0].threadId, received_[1].threadId);
}

TEST(AutoCreatedLoggerTest, IsReplacedByTheApplicationsLogger) {
  TFFLogger* automatic = DefaultLogger();
  ASSERT_TRUE(automatic->AutoCreated());
  EXPECT_TRUE(automatic->Muted());
  TFFLogger application;
  EXPECT_EQ(DefaultLogger(), &application);
}

}  // namespace
