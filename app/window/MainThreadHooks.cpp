#include "MainThreadHooks.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "FFLog/FFLog.h"

TMainThreadHooks::TMainThreadHooks() {
  SetMainThreadDispatcher([](const std::function<void()>& call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::BlockingQueuedConnection);
  });
}

TMainThreadHooks::~TMainThreadHooks() { SetMainThreadDispatcher(nullptr); }
