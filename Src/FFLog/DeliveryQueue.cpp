#include "FFLog/DeliveryQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "Base/MainThread.h"
#include "FFLog/FFLog.h"
#include "FFLog/RelayState.h"

namespace fflog {

namespace {

struct QueuedMessage {
  TFFLogger* target = nullptr;
  TLogInfo info;
};

struct DeliveryQueue {
  std::mutex lock;
  std::condition_variable drainEnded;
  std::deque<QueuedMessage> messages;
  std::optional<std::thread::id> drainer;  // the thread delivering right now
  bool drainPosted = false;                // a posted drain will still see the queue
};

DeliveryQueue& Queue() {
  static DeliveryQueue queue;
  return queue;
}

}  // namespace

void QueueMessage(TFFLogger* target, TLogInfo info) {
  std::lock_guard lock(Queue().lock);
  Queue().messages.push_back({target, std::move(info)});
}

void HandOverQueuedMessages(bool toMainThread) {
  if (!toMainThread || IsMainThread()) {
    DrainQueuedMessages();
    return;
  }
  DeliveryQueue& queue = Queue();
  {
    std::lock_guard lock(queue.lock);
    if (queue.drainPosted || queue.messages.empty()) return;
    queue.drainPosted = true;
  }
  if (PostToMainThread([] { DrainQueuedMessages(); })) return;
  {
    std::lock_guard lock(queue.lock);
    queue.drainPosted = false;
  }
  CallInMainThread([] { DrainQueuedMessages(); });
}

void DrainQueuedMessages() {
  DeliveryQueue& queue = Queue();
  {
    std::lock_guard lock(queue.lock);
    if (queue.drainer) return;
    queue.drainer = std::this_thread::get_id();
  }
  for (;;) {
    QueuedMessage next;
    {
      std::lock_guard lock(queue.lock);
      if (queue.messages.empty()) {
        queue.drainer.reset();
        queue.drainPosted = false;
        break;
      }
      next = std::move(queue.messages.front());
      queue.messages.pop_front();
    }
    TLogEvent handler;
    {
      // The creation lock keeps the target alive while its handler is copied.
      std::lock_guard lock(Relay().creationLock);
      if (Relay().logger.load() == next.target) handler = next.target->OnLog();
    }
    if (handler) handler(next.info.sender, next.info.threadId, next.info.level, next.info.message);
  }
  queue.drainEnded.notify_all();
}

void DiscardQueuedMessages(TFFLogger* target) {
  DeliveryQueue& queue = Queue();
  std::unique_lock lock(queue.lock);
  std::erase_if(queue.messages, [target](const QueuedMessage& queued) { return queued.target == target; });
  queue.drainEnded.wait(lock, [&] { return !queue.drainer || *queue.drainer == std::this_thread::get_id(); });
}

}  // namespace fflog
