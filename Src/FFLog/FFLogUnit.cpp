#include "FFLog/FFLog.h"

#include <memory>
#include <mutex>

#include "FFLog/DeliveryQueue.h"
#include "FFLog/LogFileSink.h"
#include "FFLog/RelayState.h"

FFLogUnit::FFLogUnit() {
  fflog::SetMainThreadToCurrent();
  fflog::RelayState& relay = fflog::Relay();
  std::lock_guard lock(relay.callbackLock);
  relay.logList.Clear();
  relay.previousMessage.clear();
  relay.repeatCount = 0;
}

FFLogUnit::~FFLogUnit() {
  fflog::RelayState& relay = fflog::Relay();
  {
    std::lock_guard lock(relay.callbackLock);
    relay.logList.Clear();
  }
  std::unique_ptr<TFFLogger> automatic;
  {
    std::lock_guard lock(relay.creationLock);
    automatic = std::move(relay.autoLogger);
  }
  automatic.reset();
  {
    std::lock_guard lock(relay.callbackLock);
    relay.previousMessage.clear();
    relay.repeatCount = 0;
  }
  {
    std::lock_guard lock(relay.loggerLock);
    relay.logFile.clear();
    fflog::CloseLogFile();
  }
  SetMainThreadPoster(nullptr);
  SetMainThreadDispatcher(nullptr);
}
