// What reaches a logger's OnLog, and a way to call the library callback as avutil does.
#pragma once
#include <cstdarg>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FFLog/FFLog.h"
#include "FFLog/LibraryLogCallback.h"

struct LoggedMessage {
  const void* sender;
  std::uint32_t threadId;
  TLogLevel level;
  std::string message;
  std::thread::id receivedOn;
};

class LogCapture {
 public:
  explicit LogCapture(TFFLogger& logger) {
    logger.SetOnLog([this](const void* sender, std::uint32_t thread, TLogLevel level, const std::string& message) {
      std::lock_guard lock(lock_);
      entries_.push_back({sender, thread, level, message, std::this_thread::get_id()});
    });
  }
  std::vector<LoggedMessage> Entries() const {
    std::lock_guard lock(lock_);
    return entries_;
  }
  std::vector<std::string> Messages() const {
    std::lock_guard lock(lock_);
    std::vector<std::string> messages;
    for (const LoggedMessage& entry : entries_) messages.push_back(entry.message);
    return messages;
  }

 private:
  mutable std::mutex lock_;
  std::vector<LoggedMessage> entries_;
};

// Hands a printf-style message to the relay the way avutil does, with a va_list.
inline void CallLibraryLog(void* context, int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  LibraryLogCallback(context, level, format, args);
  va_end(args);
}
