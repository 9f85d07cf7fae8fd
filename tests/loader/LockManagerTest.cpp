// The codec lock manager, called as avcodec calls it: by slot, from any thread.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "LockManager/LockManager.h"
#include "support/TestEnvironment.h"

namespace {

constexpr int kCreate = 0, kObtain = 1, kRelease = 2, kDestroy = 3;

struct Message {
  TLogLevel level;
  std::string text;
};

class LockManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logger_.SetLogLevel(llDebug);
    logger_.SetOnLog([this](const void* sender, std::uint32_t, TLogLevel level, const std::string& text) {
      std::lock_guard lock(lock_);
      EXPECT_EQ(sender, nullptr);
      messages_.push_back({level, text});
    });
    registryBefore_ = LockRegistrySize();
  }
  std::vector<Message> TakeMessages() {
    std::lock_guard lock(lock_);
    return std::move(messages_);
  }
  // The identity number out of a "[lock manager] mutex [N] created." message.
  static std::string IdentityIn(const std::string& text) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(R"(\[(-?[0-9]+)\])")) ? match[1].str() : "";
  }

  TFFLogger logger_;
  std::mutex lock_;
  std::vector<Message> messages_;
  std::size_t registryBefore_ = 0;
};

TEST_F(LockManagerTest, FourOperationsOnAFreshSlotSucceedAndLeaveNoTrace) {
  void* slot = nullptr;
  EXPECT_EQ(LockManagerCallback(&slot, kCreate), 0);
  EXPECT_NE(slot, nullptr) << "the slot holds the manager's entry";
  EXPECT_EQ(LockRegistrySize(), registryBefore_ + 1);
  EXPECT_EQ(LockManagerCallback(&slot, kObtain), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kRelease), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kDestroy), 0);
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(LockRegistrySize(), registryBefore_);

  const auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 4u);
  const std::string id = IdentityIn(messages[0].text);
  ASSERT_FALSE(id.empty());
  EXPECT_NE(id, "0");
  const char* const expected[] = {"[lock manager] mutex [%] created.", "[lock manager] mutex [%] obtained.",
                                  "[lock manager] mutex [%] release.", "[lock manager] mutex [%] destroyed."};
  for (int i = 0; i < 4; ++i) {
    std::string text = expected[i];
    text.replace(text.find('%'), 1, id);
    EXPECT_EQ(messages[i].text, text);
    EXPECT_EQ(messages[i].level, llDebug);
  }
}

TEST_F(LockManagerTest, CreatingTwiceFailsAndKeepsTheFirstMutex) {
  void* slot = nullptr;
  ASSERT_EQ(LockManagerCallback(&slot, kCreate), 0);
  void* const entry = slot;
  EXPECT_EQ(LockManagerCallback(&slot, kCreate), -1);
  EXPECT_EQ(slot, entry);
  EXPECT_EQ(LockManagerCallback(&slot, kObtain), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kRelease), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kDestroy), 0);
  const auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 5u);
  const std::string id = IdentityIn(messages[0].text);
  EXPECT_EQ(messages[1].text, "[lock manager] error, mutex [" + id + "] already exist.");
  EXPECT_EQ(messages[1].level, llError);
  EXPECT_EQ(IdentityIn(messages[2].text), id) << "the first mutex is still the one in use";
}

TEST_F(LockManagerTest, OperationsWithoutAMutexFailButLeaveTheirEntryUntilDestroyed) {
  void* slot = nullptr;
  EXPECT_EQ(LockManagerCallback(&slot, kObtain), -1);
  EXPECT_NE(slot, nullptr);
  EXPECT_EQ(LockManagerCallback(&slot, kRelease), -1);
  EXPECT_EQ(LockManagerCallback(&slot, 4), -1);
  EXPECT_EQ(LockRegistrySize(), registryBefore_ + 1);
  EXPECT_EQ(LockManagerCallback(&slot, kDestroy), -1);
  EXPECT_EQ(slot, nullptr) << "destroy empties the slot even without a mutex";
  EXPECT_EQ(LockRegistrySize(), registryBefore_);
  void* fresh = nullptr;
  EXPECT_EQ(LockManagerCallback(&fresh, kDestroy), -1);
  EXPECT_EQ(fresh, nullptr);
  EXPECT_EQ(LockRegistrySize(), registryBefore_);

  const auto messages = TakeMessages();
  std::vector<std::string> texts;
  for (const auto& message : messages) {
    texts.push_back(message.text);
    EXPECT_EQ(message.level, llError);
  }
  const std::string missing = "[lock manager] error, mutex not available.";
  EXPECT_EQ(texts, (std::vector<std::string>{missing, missing, "[lock manager] error, invalid mutex operation 4.",
                                             missing, missing}));
}

TEST_F(LockManagerTest, OnlyTheOwningThreadMayRelease) {
  void* slot = nullptr;
  ASSERT_EQ(LockManagerCallback(&slot, kCreate), 0);
  ASSERT_EQ(LockManagerCallback(&slot, kObtain), 0);
  int fromOtherThread = 0;
  std::thread([&] { fromOtherThread = LockManagerCallback(&slot, kRelease); }).join();
  EXPECT_EQ(fromOtherThread, -1);
  EXPECT_EQ(LockManagerCallback(&slot, kRelease), 0) << "the owner still holds it";
  EXPECT_EQ(LockManagerCallback(&slot, kDestroy), 0);
  const auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 5u);
  const std::string id = IdentityIn(messages[0].text);
  EXPECT_EQ(messages[2].text, "[lock manager] error, could not release mutex [" + id +
                                  "]: System Error.  Code: 1.\r\nOperation not permitted.");
  EXPECT_EQ(messages[2].level, llError);
}

TEST_F(LockManagerTest, IsRecursiveAndAMutexLeftByAnEndedThreadCountsAsObtained) {
  void* slot = nullptr;
  ASSERT_EQ(LockManagerCallback(&slot, kCreate), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kObtain), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kObtain), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kRelease), 0);
  EXPECT_EQ(LockManagerCallback(&slot, kRelease), 0);

  int leftOwned = -2;
  std::thread([&] { leftOwned = LockManagerCallback(&slot, kObtain); }).join();
  ASSERT_EQ(leftOwned, 0);
  EXPECT_EQ(LockManagerCallback(&slot, kObtain), 0) << "taken over from the thread that ended";
  EXPECT_EQ(LockManagerCallback(&slot, kRelease), 0);
  int afterwards = -2;
  std::thread([&] {
    afterwards = LockManagerCallback(&slot, kObtain);
    if (afterwards == 0) afterwards = LockManagerCallback(&slot, kRelease);
  }).join();
  EXPECT_EQ(afterwards, 0) << "usable again once released";
  EXPECT_EQ(LockManagerCallback(&slot, kDestroy), 0);
  for (const auto& message : TakeMessages()) EXPECT_EQ(message.level, llDebug) << message.text;
}

TEST_F(LockManagerTest, ThreadsContendingForOneMutexAreSerialised) {
  void* slot = nullptr;
  ASSERT_EQ(LockManagerCallback(&slot, kCreate), 0);
  long counter = 0;
  std::atomic<int> failures = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        if (LockManagerCallback(&slot, kObtain) != 0) ++failures;
        const long seen = counter;
        std::this_thread::yield();
        counter = seen + 1;
        if (LockManagerCallback(&slot, kRelease) != 0) ++failures;
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(counter, 2000);
  EXPECT_EQ(LockManagerCallback(&slot, kDestroy), 0);
  EXPECT_EQ(TakeMessages().size(), 1u + 4000u + 1u);
}

TEST_F(LockManagerTest, AfterShutdownBeginsEveryCallSucceedsWithoutEffect) {
  void* kept = nullptr;
  ASSERT_EQ(LockManagerCallback(&kept, kCreate), 0);
  void* const entry = kept;
  TakeMessages();

  EndLoaderUnit();
  EXPECT_TRUE(FFLoaderShuttingDown());
  EXPECT_EQ(LockRegistrySize(), 0u) << "the registry was released";
  void* fresh = nullptr;
  for (int operation : {kCreate, kObtain, kRelease, kDestroy, 4}) {
    EXPECT_EQ(LockManagerCallback(&fresh, operation), 0);
    EXPECT_EQ(LockManagerCallback(&kept, operation), 0);
  }
  EXPECT_EQ(fresh, nullptr);
  EXPECT_EQ(kept, entry) << "slots are not touched";
  EXPECT_TRUE(TakeMessages().empty());

  StartLoaderUnit();
  EXPECT_FALSE(FFLoaderShuttingDown());
  void* again = nullptr;
  EXPECT_EQ(LockManagerCallback(&again, kCreate), 0);
  EXPECT_EQ(LockManagerCallback(&again, kDestroy), 0);
  EXPECT_EQ(TakeMessages().size(), 2u);
}

}  // namespace
