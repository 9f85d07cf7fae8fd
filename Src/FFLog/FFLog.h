// The log relay: the one place where the libraries' and the components' messages end up.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "FFUtils/FFBaseComponent.h"
#include "Text/Format.h"

enum TLogLevel : std::uint8_t { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// (ordinal - 1) * 8: llQuiet gives -8, llDebug 48.
int LogLevelToAVLevel(TLogLevel level);
// Library level / 8 (truncated toward zero) + 1, clamped to llQuiet..llDebug.
TLogLevel AVLevelToLogLevel(int avLevel);
const char* LogLevelName(TLogLevel level);

// OnLog(Sender, AThreadID, ALogLevel, ALogMsg).
using TLogEvent = std::function<void(const void* sender, std::uint32_t threadId, TLogLevel level,
                                     const std::string& message)>;

class TFFLogger : public TFFBaseComponent {
 public:
  TFFLogger();
  ~TFFLogger() override;
  TFFLogger(const TFFLogger&) = delete;
  TFFLogger& operator=(const TFFLogger&) = delete;

  // A component message: dropped while muted or when `level` is above LogLevel.
  void Log(const void* sender, TLogLevel level, const std::string& message);
  // As Log, with the message made by the shared formatter (Text/Format.h).
  template <typename... Args>
  void LogFmt(const void* sender, TLogLevel level, std::string_view format, const Args&... args);

  // Installs the library log callback into avutil and hands it the threshold.
  void HookLibraryLog();

  bool Active() const { return Active_; }
  void SetActive(bool value);
  TLogLevel LogLevel() const { return LogLevel_; }
  void SetLogLevel(TLogLevel value);
  const TLogEvent& OnLog() const { return OnLog_; }
  void SetOnLog(TLogEvent handler);
  bool Muted() const { return Muted_; }
  bool AutoCreated() const { return AutoCreated_; }
  bool TriggerEventInMainThread = true;

 private:
  friend TFFLogger* DefaultLogger();
  void RecomputeMuted();
  void Deliver(const void* sender, std::uint32_t threadId, TLogLevel level, const std::string& message);

  bool AutoCreated_ = false;
  bool Muted_ = true;
  bool Active_ = true;
  TLogLevel LogLevel_ = llInfo;
  TLogEvent OnLog_;
};

// The process-wide logger, made silently (AutoCreated) when the application has none.
TFFLogger* DefaultLogger();

// Runs `call` on the main thread and waits for it. The application installs the
// dispatcher of its toolkit; without one, or on the main thread, the call runs directly.
using TMainThreadDispatcher = std::function<void(const std::function<void()>& call)>;
void SetMainThreadDispatcher(TMainThreadDispatcher dispatcher);
void CallInMainThread(const std::function<void()>& call);

// Process-wide state of the relay; it starts before the loader's and ends after it.
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
