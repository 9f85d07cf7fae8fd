#include "FFLog/LogFileSink.h"

#include "FFLog/RelayState.h"
#include "Paths/PathHelpers.h"
#include "Text/Format.h"
#include "platform/LocalTime.h"
#include "platform/LogFile.h"

namespace fflog {

namespace {

platform::FileHandle OpenLogFile(const std::string& name) {
  return FileExists(name) ? platform::OpenLogFileForAppend(name) : platform::CreateLogFile(name);
}

}  // namespace

void WriteToLogFile(const TLogInfo& info) {
  RelayState& relay = Relay();
  if (relay.openLogFile == platform::InvalidFileHandle) {
    relay.openLogFile = OpenLogFile(relay.logFile);
    if (relay.openLogFile == platform::InvalidFileHandle) return;
  }
  platform::TimeOfDay now;
  while (!platform::CurrentLocalTime(now)) {
  }
  const std::string time =
      text::Format("%.2d:%.2d:%.2d %.3d", {now.hour, now.minute, now.second, now.millisecond});
  const std::string line =
      text::Format("%s [%.8x] %s: %s\r\n", {time, info.threadId, LogLevelName(info.level), info.message});
  for (std::size_t written = 0; written < line.size();) {
    const std::int64_t put = platform::WriteRawFile(relay.openLogFile, line.data() + written,
                                                    static_cast<std::int64_t>(line.size() - written));
    if (put <= 0) break;
    written += static_cast<std::size_t>(put);
  }
}

void CloseLogFile() {
  RelayState& relay = Relay();
  if (relay.openLogFile == platform::InvalidFileHandle) return;
  platform::CloseRawFile(relay.openLogFile);
  relay.openLogFile = platform::InvalidFileHandle;
}

}  // namespace fflog
