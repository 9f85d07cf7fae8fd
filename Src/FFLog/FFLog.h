// The log relay: the one place where the libraries' and the components' messages end up.
//
// Delivery contract: with TriggerEventInMainThread (the default) OnLog runs on the main
// thread. A message logged on the main thread reaches OnLog before the logging call
// returns; messages from other threads arrive when the main thread next processes its
// events (through the poster the application installs with SetMainThreadPoster), or, with
// only a dispatcher installed, while the logging thread waits. Messages reach OnLog one at
// a time and in the order they were logged; no relay lock is held while OnLog runs, so a
// handler may log itself (its message follows once the handler returns). With
// TriggerEventInMainThread false, OnLog runs on the thread that delivers the queue, one
// message at a time.
#pragma once
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "Base/MainThread.h"
#include "FFLog/LogLevel.h"
#include "FFUtils/FFBaseComponent.h"
#include "Text/Format.h"

// OnLog(Sender, AThreadID, ALogLevel, ALogMsg).
using TLogEvent = std::function<void(const void* sender, std::uint32_t threadId, TLogLevel level,
                                     const std::string& message)>;

class TFFLogger : public TFFBaseComponent {
 public:
  // There is one logger per process: a logger that DefaultLogger made is replaced by this
  // one; a second application logger throws EAssertionFailed.
  TFFLogger();
  ~TFFLogger() override;
  TFFLogger(const TFFLogger&) = delete;
  TFFLogger& operator=(const TFFLogger&) = delete;

  // A component message: dropped while muted or when `level` is above LogLevel. No prefix,
  // no line splitting, no repeat folding.
  void Log(const void* sender, TLogLevel level, const std::string& message);
  // As Log, with the message made by the shared formatter (Text/Format.h).
  template <typename... Args>
  void LogFmt(const void* sender, TLogLevel level, std::string_view format, const Args&... args);

  // Installs the library log callback into avutil and hands it the flags and the threshold.
  // Throws EAssertionFailed while avutil's callback or level setter is not bound.
  void HookLibraryLog();

  bool Active() const { return Active_; }
  void SetActive(bool value);
  TLogLevel LogLevel() const { return LogLevel_; }
  // Also moves the libraries' threshold while avutil is loaded.
  void SetLogLevel(TLogLevel value);
  // A copy: the handler may be replaced from another thread at any time.
  TLogEvent OnLog() const;
  void SetOnLog(TLogEvent handler);

  // The log file's name and switch are shared by every instance. A change closes the open
  // file; the next message opens the file of the new name (appending when it exists).
  std::string LogFile() const;
  void SetLogFile(const std::string& fileName);
  bool LogToFile() const;
  void SetLogToFile(bool value);

  // No sink is active: every message is dropped at entry.
  bool Muted() const { return Muted_; }
  bool AutoCreated() const { return AutoCreated_; }
  // Bit 0: fold repeated library lines into one notice.
  std::uint32_t LibraryLogFlags() const { return LibraryLogFlags_; }
  bool TriggerEventInMainThread = true;

 private:
  friend TFFLogger* DefaultLogger();
  struct AutoCreateTag {};
  // DefaultLogger's instance; the caller holds the creation lock and puts it in place.
  explicit TFFLogger(AutoCreateTag);
  friend void LibraryLogCallback(void* context, int level, const char* format, va_list args);
  // Under the logger lock. True when a message was queued for OnLog.
  bool Deliver(const void* sender, std::uint32_t threadId, TLogLevel level, const std::string& message);
  // One completed library line; true when it was queued for OnLog.
  bool LogLibraryLine(std::uint32_t threadId, int avLevel, const std::string& text);
  void RecomputeMuted();

  bool AutoCreated_ = false;
  std::atomic<bool> Muted_{true};
  bool Active_ = true;
  std::uint32_t LibraryLogFlags_ = 1;
  std::atomic<TLogLevel> LogLevel_{llInfo};
  TLogEvent OnLog_;
};

// The process-wide logger, made silently (AutoCreated) when the application has none.
TFFLogger* DefaultLogger();

// Process-wide state of the relay; it starts before the loader's and ends after it. The
// thread that starts it is the main thread.
class FFLogUnit {
 public:
  FFLogUnit();
  ~FFLogUnit();
  FFLogUnit(const FFLogUnit&) = delete;
  FFLogUnit& operator=(const FFLogUnit&) = delete;
};

template <typename... Args>
void TFFLogger::LogFmt(const void* sender, TLogLevel level, std::string_view format, const Args&... args) {
  if (Muted_ || level > LogLevel_) return;
  Log(sender, level, text::Format(format, {text::FormatArg(args)...}));
}
