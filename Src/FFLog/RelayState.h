// Process-wide state of the log relay, shared by its pieces. Lock order, where more than
// one is taken: callback lock, then creation lock, then logger lock, then the delivery
// queue's own lock.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "FFLog/LogList.h"
#include "platform/RawFile.h"

class TFFLogger;

namespace fflog {

struct RelayState {
  // Guards making, replacing and forgetting the process-wide logger.
  std::mutex creationLock;
  std::atomic<TFFLogger*> logger{nullptr};
  std::unique_ptr<TFFLogger> autoLogger;  // owns the logger when DefaultLogger made it

  // Library messages above this library level are dropped before any lock is taken.
  std::atomic<int> threshold{32};
  // Bit 0: fold repeated library lines.
  std::uint32_t libraryLogFlags = 1;

  // Held by the library callback for its whole run: the per-thread pending texts, the
  // previous library message and the repeat count.
  std::mutex callbackLock;
  TLogList logList;
  std::string previousMessage;
  std::int32_t repeatCount = 0;

  // Held for the delivery of one message and by the sink setters.
  std::mutex loggerLock;
  std::string logFile;
  bool logToFile = false;
  platform::FileHandle openLogFile = platform::InvalidFileHandle;
};

RelayState& Relay();

}  // namespace fflog
