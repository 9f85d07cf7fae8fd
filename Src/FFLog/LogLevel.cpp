#include "FFLog/LogLevel.h"

#include <algorithm>

int LogLevelToAVLevel(TLogLevel level) { return (static_cast<int>(level) - 1) * 8; }

TLogLevel AVLevelToLogLevel(int avLevel) {
  return static_cast<TLogLevel>(std::clamp(avLevel / 8 + 1, 0, static_cast<int>(llDebug)));
}

const char* LogLevelName(TLogLevel level) {
  static const char* const kNames[] = {"Quiet", "Panic", "Fatal", "Error", "Warning", "Info", "Verbose", "Debug"};
  return level <= llDebug ? kNames[level] : "";
}
