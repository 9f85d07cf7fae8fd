// The append-only log file. Every call here expects the logger lock to be held.
#pragma once
#include "FFLog/DeliveryQueue.h"

namespace fflog {

// Writes "hh:nn:ss zzz [thread] Level: message" and CR LF to the file named LogFile,
// opening it first when needed: an existing file is appended to, a missing one created.
// When it cannot be opened nothing is written; the next message tries again.
void WriteToLogFile(const TLogInfo& info);
// The next write opens the file again.
void CloseLogFile();

}  // namespace fflog
