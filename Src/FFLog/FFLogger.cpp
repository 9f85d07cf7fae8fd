#include "FFLog/FFLog.h"

#include <memory>
#include <mutex>

#include "Base/FFError.h"
#include "FFLoad/EntryPoints.h"
#include "FFLog/DeliveryQueue.h"
#include "FFLog/LibraryLogCallback.h"
#include "FFLog/LogFileSink.h"
#include "FFLog/RelayState.h"
#include "platform/System.h"

using fflog::Relay;
using fflog::RelayState;

TFFLogger::TFFLogger() {
  RelayState& relay = Relay();
  std::unique_ptr<TFFLogger> replaced;
  {
    std::lock_guard lock(relay.creationLock);
    TFFLogger* current = relay.logger.load();
    if (current && current->AutoCreated_) {
      replaced = std::move(relay.autoLogger);
      relay.logger = nullptr;
    }
  }
  // Destroyed outside the creation lock: its destructor waits for a running drain.
  replaced.reset();
  std::lock_guard lock(relay.creationLock);
  if (relay.logger.load()) throw EAssertionFailed("Allow creating only one instance of TFFLogger.");
  LibraryLogFlags_ = relay.libraryLogFlags;
  LogLevel_ = AVLevelToLogLevel(relay.threshold);
  relay.logger = this;
}

TFFLogger::TFFLogger(AutoCreateTag) {
  LibraryLogFlags_ = Relay().libraryLogFlags;
  LogLevel_ = AVLevelToLogLevel(Relay().threshold);
}

TFFLogger::~TFFLogger() {
  RelayState& relay = Relay();
  {
    std::lock_guard lock(relay.creationLock);
    if (relay.logger.load() == this) relay.logger = nullptr;
  }
  fflog::DiscardQueuedMessages(this);
  std::lock_guard lock(relay.loggerLock);
  fflog::CloseLogFile();
}

void TFFLogger::RecomputeMuted() {
  const RelayState& relay = Relay();
  Muted_ = !(Active_ && (OnLog_ || (relay.logToFile && !relay.logFile.empty())));
}

void TFFLogger::SetActive(bool value) {
  std::lock_guard lock(Relay().loggerLock);
  Active_ = value;
  RecomputeMuted();
}

TLogEvent TFFLogger::OnLog() const {
  std::lock_guard lock(Relay().loggerLock);
  return OnLog_;
}

void TFFLogger::SetOnLog(TLogEvent handler) {
  std::lock_guard lock(Relay().loggerLock);
  OnLog_ = std::move(handler);
  RecomputeMuted();
}

std::string TFFLogger::LogFile() const {
  std::lock_guard lock(Relay().loggerLock);
  return Relay().logFile;
}

void TFFLogger::SetLogFile(const std::string& fileName) {
  std::lock_guard lock(Relay().loggerLock);
  if (Relay().logFile == fileName) return;
  Relay().logFile = fileName;
  fflog::CloseLogFile();
  RecomputeMuted();
}

bool TFFLogger::LogToFile() const {
  std::lock_guard lock(Relay().loggerLock);
  return Relay().logToFile;
}

void TFFLogger::SetLogToFile(bool value) {
  std::lock_guard lock(Relay().loggerLock);
  if (Relay().logToFile == value) return;
  Relay().logToFile = value;
  fflog::CloseLogFile();
  RecomputeMuted();
}

void TFFLogger::SetLogLevel(TLogLevel value) {
  if (value == LogLevel_) return;
  LogLevel_ = value;
  if (ff::avutil.av_log_set_level) {
    Relay().threshold = LogLevelToAVLevel(value);
    ff::avutil.av_log_set_level(Relay().threshold);
  }
}

void TFFLogger::Log(const void* sender, TLogLevel level, const std::string& message) {
  if (Muted_ || level > LogLevel_) return;
  bool queued;
  {
    std::lock_guard lock(Relay().loggerLock);
    queued = Deliver(sender, platform::CurrentThreadId(), level, message);
  }
  if (queued) fflog::HandOverQueuedMessages(TriggerEventInMainThread);
}

bool TFFLogger::LogLibraryLine(std::uint32_t threadId, int avLevel, const std::string& text) {
  if (Muted_) return false;
  std::lock_guard lock(Relay().loggerLock);
  return Deliver(this, threadId, AVLevelToLogLevel(avLevel), text);
}

bool TFFLogger::Deliver(const void* sender, std::uint32_t threadId, TLogLevel level, const std::string& message) {
  const RelayState& relay = Relay();
  const bool toHandler = static_cast<bool>(OnLog_);
  const bool toFile = relay.logToFile && !relay.logFile.empty();
  if (!toHandler && !toFile) return false;
  fflog::TLogInfo info{sender, threadId, level, message};
  if (toFile) fflog::WriteToLogFile(info);
  if (toHandler) fflog::QueueMessage(this, std::move(info));
  return toHandler;
}

void TFFLogger::HookLibraryLog() {
  if (!ff::avutil.av_log_set_callback || !ff::avutil.av_log_set_level)
    throw EAssertionFailed("HookLibraryLog needs avutil's log entry points bound");
  RelayState& relay = Relay();
  ff::avutil.av_log_set_callback(LibraryLogCallback);
  relay.libraryLogFlags = LibraryLogFlags_;
  if (ff::avutil.av_log_set_flags) ff::avutil.av_log_set_flags(static_cast<int>(relay.libraryLogFlags));
  relay.threshold = LogLevelToAVLevel(LogLevel_);
  ff::avutil.av_log_set_level(relay.threshold);
}

TFFLogger* DefaultLogger() {
  RelayState& relay = Relay();
  if (TFFLogger* current = relay.logger.load()) return current;
  std::lock_guard lock(relay.creationLock);
  if (!relay.logger.load()) {
    // The constructor takes the creation lock itself, so the instance is put in place here.
    auto created = std::unique_ptr<TFFLogger>(new TFFLogger(TFFLogger::AutoCreateTag{}));
    created->AutoCreated_ = true;
    relay.logger = created.get();
    relay.autoLogger = std::move(created);
  }
  return relay.logger.load();
}
