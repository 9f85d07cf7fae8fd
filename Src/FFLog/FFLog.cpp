#include "FFLog/FFLog.h"

#include <algorithm>
#include <cstdarg>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "FFLoad/EntryPoints.h"
#include "FFUtils/FFError.h"
#include "platform/System.h"

namespace {

struct RelayState {
  TFFLogger* logger = nullptr;              // the process-wide logger, if any
  std::unique_ptr<TFFLogger> autoLogger;    // owns it when DefaultLogger made it
  int threshold = AV_LOG_INFO;  // library messages above it are dropped
  std::mutex loggerLock;        // one delivery at a time
  TMainThreadDispatcher dispatcher;
  std::thread::id mainThread = std::this_thread::get_id();
};

RelayState& Relay() {
  static RelayState state;
  return state;
}

// Formats a library message with printf semantics, however long it is.
std::string FormatLibraryMessage(const char* format, va_list args) {
  std::vector<char> buffer(1024);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int length = ff::msvcrt.vsnprintf ? ff::msvcrt.vsnprintf(buffer.data(), buffer.size(), format, copy) : -1;
    va_end(copy);
    if (length < 0) return {};
    if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(length));
    buffer.resize(static_cast<size_t>(length) + 1);
  }
}

// Forwards each library message at its mapped level. Line assembly per thread, the object
// prefix and repeat folding are the relay's later refinements.
void LibraryLogCallback(void*, int level, const char* format, va_list args) {
  if (level > Relay().threshold) return;
  TFFLogger* logger = DefaultLogger();
  if (logger->Muted()) return;
  std::string message = FormatLibraryMessage(format, args);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  if (!message.empty()) logger->Log(logger, AVLevelToLogLevel(level), message);
}

}  // namespace

int LogLevelToAVLevel(TLogLevel level) { return (static_cast<int>(level) - 1) * 8; }

TLogLevel AVLevelToLogLevel(int avLevel) {
  return static_cast<TLogLevel>(std::clamp(avLevel / 8 + 1, 0, static_cast<int>(llDebug)));
}

const char* LogLevelName(TLogLevel level) {
  static const char* const kNames[] = {"Quiet", "Panic", "Fatal", "Error", "Warning", "Info", "Verbose", "Debug"};
  return level <= llDebug ? kNames[level] : "";
}

TFFLogger::TFFLogger() {
  RelayState& relay = Relay();
  if (relay.logger && relay.logger->AutoCreated_) relay.autoLogger.reset();
  if (relay.logger) throw EAssertionFailed("Allow creating only one instance of TFFLogger.");
  LogLevel_ = AVLevelToLogLevel(relay.threshold);
  relay.logger = this;
}

TFFLogger::~TFFLogger() {
  if (Relay().logger == this) Relay().logger = nullptr;
}

void TFFLogger::RecomputeMuted() { Muted_ = !(Active_ && OnLog_); }

void TFFLogger::SetActive(bool value) {
  std::lock_guard lock(Relay().loggerLock);
  Active_ = value;
  RecomputeMuted();
}

void TFFLogger::SetOnLog(TLogEvent handler) {
  std::lock_guard lock(Relay().loggerLock);
  OnLog_ = std::move(handler);
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
  std::lock_guard lock(Relay().loggerLock);
  Deliver(sender, platform::CurrentThreadId(), level, message);
}

void TFFLogger::Deliver(const void* sender, std::uint32_t threadId, TLogLevel level, const std::string& message) {
  if (!OnLog_) return;
  auto doLog = [&] { OnLog_(sender, threadId, level, message); };
  if (TriggerEventInMainThread)
    CallInMainThread(doLog);
  else
    doLog();
}

void TFFLogger::HookLibraryLog() {
  if (!ff::avutil.av_log_set_callback || !ff::avutil.av_log_set_level)
    throw EAssertionFailed("HookLibraryLog needs avutil's log entry points bound");
  ff::avutil.av_log_set_callback(LibraryLogCallback);
  Relay().threshold = LogLevelToAVLevel(LogLevel_);
  ff::avutil.av_log_set_level(Relay().threshold);
}

TFFLogger* DefaultLogger() {
  RelayState& relay = Relay();
  if (!relay.logger) {
    relay.autoLogger = std::make_unique<TFFLogger>();
    relay.autoLogger->AutoCreated_ = true;
  }
  return relay.logger;
}

void SetMainThreadDispatcher(TMainThreadDispatcher dispatcher) { Relay().dispatcher = std::move(dispatcher); }

void CallInMainThread(const std::function<void()>& call) {
  RelayState& relay = Relay();
  if (std::this_thread::get_id() == relay.mainThread || !relay.dispatcher)
    call();
  else
    relay.dispatcher(call);
}

FFLogUnit::FFLogUnit() { Relay().mainThread = std::this_thread::get_id(); }

FFLogUnit::~FFLogUnit() {
  RelayState& relay = Relay();
  relay.autoLogger.reset();
  relay.dispatcher = nullptr;
}
