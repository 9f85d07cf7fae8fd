#include "window/InputBlocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

}  // namespace

TInputBlocker::TInputBlocker(QWidget& window, std::function<void()> onEscape, QWidget* open)
    : Window_(window), OnEscape_(std::move(onEscape)), Open_(open) {
  QCoreApplication::instance()->installEventFilter(this);
}

TInputBlocker::~TInputBlocker() {
  // Input that arrived during the run is still waiting in the system's queue.
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(this);
}

bool TInputBlocker::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(event->type()) || !watched->isWidgetType()) return false;
  const QWidget* target = static_cast<QWidget*>(watched);
  if (target != &Window_ && !Window_.isAncestorOf(target)) return false;
  if (Open_ && Open_->isVisible() && (target == Open_ || Open_->isAncestorOf(target)) &&
      event->type() != QEvent::KeyPress)
    return false;
  if (OnEscape_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
    OnEscape_();
  return true;
}
