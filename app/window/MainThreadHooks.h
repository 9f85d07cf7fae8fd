// Connects the log relay's main-thread hand-off to Qt's event loop while it lives: a call
// made on another thread runs on the thread of the application object.
#pragma once

class TMainThreadHooks {
 public:
  // Needs the QApplication object; install after it and remove before it goes.
  TMainThreadHooks();
  ~TMainThreadHooks();
  TMainThreadHooks(const TMainThreadHooks&) = delete;
  TMainThreadHooks& operator=(const TMainThreadHooks&) = delete;
};
