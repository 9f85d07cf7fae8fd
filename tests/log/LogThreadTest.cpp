// The relay with several threads: per-thread line assembly, delivery to the main thread
// without waiting for it, one message at a time and in order.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "log/LogCapture.h"
#include "platform/System.h"

namespace {

// The test's stand-in for the application's event loop on the main thread.
class MainLoop {
 public:
  void Post(std::function<void()> call) {
    std::lock_guard lock(lock_);
    calls_.push_back(std::move(call));
  }
  // Runs queued calls until none is left.
  int Run() {
    int ran = 0;
    for (;;) {
      std::function<void()> call;
      {
        std::lock_guard lock(lock_);
        if (calls_.empty()) return ran;
        call = std::move(calls_.front());
        calls_.pop_front();
      }
      call();
      ++ran;
    }
  }

 private:
  std::mutex lock_;
  std::deque<std::function<void()>> calls_;
};

class LogThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FFLoader().LoadLib(liCRuntime)) << FFLoader().LastErrMsg();
    logger_->SetLogLevel(llInfo);
  }
  void TearDown() override {
    SetMainThreadPoster(nullptr);
    SetMainThreadDispatcher(nullptr);
  }
  void InstallPoster() {
    SetMainThreadPoster([this](std::function<void()> call) { loop_.Post(std::move(call)); });
  }
  // A dispatcher that waits for the main loop, as a toolkit's blocking call does: a relay
  // that used it while the main thread joins the logging thread would hang.
  void InstallBlockingDispatcher() {
    SetMainThreadDispatcher([this](const std::function<void()>& call) {
      std::mutex doneLock;
      std::condition_variable doneSignal;
      bool done = false;
      loop_.Post([&] {
        call();
        std::lock_guard lock(doneLock);
        done = true;
        doneSignal.notify_one();
      });
      std::unique_lock lock(doneLock);
      doneSignal.wait(lock, [&] { return done; });
    });
  }

  MainLoop loop_;
  std::unique_ptr<TFFLogger> logger_ = std::make_unique<TFFLogger>();
  LogCapture capture_{*logger_};
};

TEST_F(LogThreadTest, AWorkerThatLogsWhileTheMainThreadJoinsItDoesNotHang) {
  InstallPoster();
  InstallBlockingDispatcher();
  ASSERT_TRUE(logger_->TriggerEventInMainThread);
  std::uint32_t workerId = 0;
  std::thread worker([&] {
    workerId = platform::CurrentThreadId();
    for (int i = 0; i < 1000; ++i) {
      if (i % 2)
        logger_->LogFmt(nullptr, llInfo, "component line %d", i);
      else
        CallLibraryLog(nullptr, 32, "library line %d\n", i);
    }
  });
  worker.join();
  EXPECT_TRUE(capture_.Entries().empty()) << "nothing runs OnLog before the main thread processes its events";
  EXPECT_GE(loop_.Run(), 1);

  const auto entries = capture_.Entries();
  ASSERT_EQ(entries.size(), 1000u);
  for (int i = 0; i < 1000; ++i) {
    const std::string expected = (i % 2 ? "component line " : "library line ") + std::to_string(i);
    ASSERT_EQ(entries[i].message, expected);
    EXPECT_EQ(entries[i].threadId, workerId);
    EXPECT_EQ(entries[i].receivedOn, std::this_thread::get_id()) << "OnLog runs on the main thread";
  }
}

TEST_F(LogThreadTest, WithOnlyADispatcherTheWorkerWaitsForTheMainThread) {
  int dispatched = 0;
  SetMainThreadDispatcher([&](const std::function<void()>& call) {
    ++dispatched;
    call();
  });
  std::thread([&] { logger_->Log(nullptr, llInfo, "from a worker"); }).join();
  logger_->Log(nullptr, llInfo, "from the main thread");
  EXPECT_EQ(dispatched, 1) << "the main thread's own messages are delivered directly";
  const auto entries = capture_.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].message, "from a worker");
  EXPECT_NE(entries[0].threadId, entries[1].threadId);
}

TEST_F(LogThreadTest, ADrainAfterTheLoggersEndTouchesNothing) {
  InstallPoster();
  std::thread([&] { logger_->Log(nullptr, llInfo, "for the old logger"); }).join();
  logger_.reset();
  TFFLogger successor;
  LogCapture successorCapture(successor);
  loop_.Run();
  EXPECT_TRUE(capture_.Entries().empty());
  EXPECT_TRUE(successorCapture.Entries().empty()) << "a message meant for the old logger went to its successor";
  successor.Log(nullptr, llInfo, "new");
  EXPECT_EQ(successorCapture.Messages(), (std::vector<std::string>{"new"}));
}

// Waits until a shared step counter reaches `step`, then advances it.
class Steps {
 public:
  void At(int step, const std::function<void()>& action) {
    std::unique_lock lock(lock_);
    changed_.wait(lock, [&] { return current_ == step; });
    action();
    ++current_;
    changed_.notify_all();
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int current_ = 0;
};

TEST_F(LogThreadTest, InterleavedHalfLinesOfTwoThreadsAreAssembledPerThread) {
  logger_->TriggerEventInMainThread = false;
  Steps steps;
  std::uint32_t ids[2] = {};
  std::thread left([&] {
    ids[0] = platform::CurrentThreadId();
    steps.At(0, [] { CallLibraryLog(nullptr, 32, "left "); });
    steps.At(2, [] { CallLibraryLog(nullptr, 32, "%s\n", "half"); });
  });
  std::thread right([&] {
    ids[1] = platform::CurrentThreadId();
    steps.At(1, [] { CallLibraryLog(nullptr, 32, "right "); });
    steps.At(3, [] { CallLibraryLog(nullptr, 32, "%s\n", "part"); });
  });
  left.join();
  right.join();
  const auto entries = capture_.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].message, "left half");
  EXPECT_EQ(entries[0].threadId, ids[0]);
  EXPECT_EQ(entries[1].message, "right part");
  EXPECT_EQ(entries[1].threadId, ids[1]);
}

TEST_F(LogThreadTest, OnTheCallingThreadsMessagesArriveOneAtATimeAndInOrder) {
  logger_->TriggerEventInMainThread = false;
  std::atomic<int> inside = 0;
  std::atomic<int> overlaps = 0;
  std::mutex orderLock;
  std::vector<std::vector<int>> seen(4);
  logger_->SetOnLog([&](const void*, std::uint32_t, TLogLevel, const std::string& message) {
    if (inside.fetch_add(1) != 0) ++overlaps;
    std::this_thread::yield();
    const int thread = message[0] - '0';
    const int number = std::stoi(message.substr(2));
    {
      std::lock_guard lock(orderLock);
      seen[thread].push_back(number);
    }
    inside.fetch_sub(1);
  });
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        if (i % 2)
          logger_->LogFmt(nullptr, llInfo, "%d %d", t, i);
        else
          CallLibraryLog(nullptr, 32, "%d %d\n", t, i);
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(overlaps.load(), 0);
  for (int t = 0; t < 4; ++t) {
    ASSERT_EQ(seen[t].size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(seen[t][i], i);
  }
}

}  // namespace
