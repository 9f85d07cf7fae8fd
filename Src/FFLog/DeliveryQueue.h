// The relay's FIFO between the threads that log and the OnLog handler. Messages are
// queued under the logger lock and handed to OnLog by a drain that holds no relay lock
// while the handler runs, so a handler may log, and a thread that logs never waits for a
// main thread that waits for it. Only one drain delivers at a time, in queue order.
#pragma once
#include <cstdint>
#include <string>

#include "FFLog/LogLevel.h"

class TFFLogger;

namespace fflog {

// The message being delivered.
struct TLogInfo {
  const void* sender = nullptr;
  std::uint32_t threadId = 0;
  TLogLevel level = llInfo;
  std::string message;
};

// Queues a message for `target`'s OnLog. Call with the logger lock held.
void QueueMessage(TFFLogger* target, TLogInfo info);

// Has the queued messages delivered, after the caller has released every relay lock:
// on the main thread (or, with `toMainThread` false, on this thread) they are delivered
// now; from another thread they are posted to the main thread without waiting when a
// poster is installed, else handed over through CallInMainThread.
void HandOverQueuedMessages(bool toMainThread);

// Delivers every queued message, one at a time. Returns at once when another drain is
// already delivering (that drain delivers what this one would have). A message whose
// logger is no longer the process-wide one is dropped.
void DrainQueuedMessages();

// Drops `target`'s queued messages and waits for a drain on another thread to finish, so
// that the logger can be destroyed. Call without holding any relay lock.
void DiscardQueuedMessages(TFFLogger* target);

}  // namespace fflog
