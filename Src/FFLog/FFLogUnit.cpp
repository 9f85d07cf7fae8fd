#include "FFLog/FFLog.h"

#include <memory>
#include <mutex>

#include "FFLoad/LoaderFollowUps.h"
#include "FFLog/DeliveryQueue.h"
#include "FFLog/LoaderFollowUps.h"
#include "FFLog/LogFileSink.h"
#include "FFLog/RelayState.h"

namespace {

// The relay follows the loader from the program's start: this file is part of every
// program that starts the relay's unit.
[[maybe_unused]] const bool kFollowsTheLoader =
    AddLoaderFollowUp({.Libraries = LibraryBit(liAVUtil), .AfterLoad = fflog::HookIntoLibrary}) &&
    AddLoaderFollowUp({.Libraries = AllLibraries, .AfterLoad = fflog::ReportLibraryVersion});

}  // namespace

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
