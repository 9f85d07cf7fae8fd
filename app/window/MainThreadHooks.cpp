#include "window/MainThreadHooks.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "Base/MainThread.h"

TMainThreadHooks::TMainThreadHooks() {
  // Log lines from other threads: queued, so that a logging thread never waits for ours.
  SetMainThreadPoster([](std::function<void()> call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
  });
  SetMainThreadDispatcher([](const std::function<void()>& call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::BlockingQueuedConnection);
  });
}

TMainThreadHooks::~TMainThreadHooks() {
  SetMainThreadDispatcher(nullptr);
  SetMainThreadPoster(nullptr);
}
