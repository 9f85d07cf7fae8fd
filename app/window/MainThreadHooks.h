// Connects the media component's main-thread hand-off to Qt's event loop while it lives:
// calls made on other threads run on the thread of the application object, either queued
// (log lines) or with the caller waiting (CallInMainThread).
#pragma once

class TMainThreadHooks {
 public:
  // Needs the QApplication object; install after it and remove before it goes.
  TMainThreadHooks();
  ~TMainThreadHooks();
  TMainThreadHooks(const TMainThreadHooks&) = delete;
  TMainThreadHooks& operator=(const TMainThreadHooks&) = delete;
};
