// Log levels of the relay and their mapping onto the libraries' numeric levels.
#pragma once
#include <cstdint>

enum TLogLevel : std::uint8_t { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// (ordinal - 1) * 8: llQuiet gives -8, llDebug 48.
int LogLevelToAVLevel(TLogLevel level);
// Library level / 8 (truncated toward zero) + 1, clamped to llQuiet..llDebug.
TLogLevel AVLevelToLogLevel(int avLevel);
// "Quiet" ... "Debug", as the log file writes them.
const char* LogLevelName(TLogLevel level);
