#include "window/ProgressStrip.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
constexpr int kHeight = 22;
constexpr int kMargin = 10;
constexpr qint64 kRepaintIntervalMs = 40;
}  // namespace

TProgressStrip::TProgressStrip(QWidget* parent)
    : QWidget(parent), Text_(new QLabel(this)), Bar_(new QProgressBar(this)), Cancel_(new QPushButton(this)) {
  setObjectName(QStringLiteral("ProgressStrip"));
  setAutoFillBackground(true);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(Text_, 3);
  layout->addWidget(Bar_, 2);
  layout->addWidget(Cancel_);
  Cancel_->setObjectName(QStringLiteral("btnCancel"));
  Cancel_->setText(QStringLiteral("Cancel"));
  Cancel_->setToolTip(QStringLiteral("Stop reading and keep the files read so far (Esc)"));
  Cancel_->setFixedHeight(kHeight - 4);
  Cancel_->hide();
  connect(Cancel_, &QPushButton::clicked, this, [this] {
    if (OnCancel_) OnCancel_();
  });
  Text_->setTextFormat(Qt::PlainText);
  Bar_->setTextVisible(false);
  parent->installEventFilter(this);
  PlaceAtBottom();
  hide();
}

void TProgressStrip::Step(const QString& verb, std::size_t index, std::size_t count, const QString& name) {
  const QString text = QStringLiteral("%1 %2 of %3: %4").arg(verb).arg(index + 1).arg(count).arg(name);
  emit stepShown(text);
  // A repaint costs about a third of a lookup: show the first step, then a few a second.
  if (!isHidden() && SinceRepaint_.isValid() && SinceRepaint_.elapsed() < kRepaintIntervalMs) return;
  Text_->setText(Text_->fontMetrics().elidedText(text, Qt::ElideMiddle, Text_->width()));
  Text_->setToolTip(text);
  Bar_->setRange(0, static_cast<int>(count));
  Bar_->setValue(static_cast<int>(index));
  Bar_->show();
  Summary_.clear();
  if (isHidden()) {
    PlaceAtBottom();
    show();
    raise();
  }
  if (BeforeRepaint) BeforeRepaint();
  // Paint, queued work (log lines from other threads) and input, which the window's input
  // blocker drops, all but the key that stops a read.
  QCoreApplication::processEvents();
  SinceRepaint_.start();
}

void TProgressStrip::OfferCancel(std::function<void()> onCancel) {
  OnCancel_ = std::move(onCancel);
  Cancel_->setVisible(static_cast<bool>(OnCancel_));
}

void TProgressStrip::SetRightReserve(int pixels) {
  RightReserve_ = pixels;
  PlaceAtBottom();
}

void TProgressStrip::Finish(const QString& summary) {
  SinceRepaint_.invalidate();
  OnCancel_ = nullptr;
  Cancel_->hide();
  Summary_ = summary;
  if (summary.isEmpty()) {
    hide();
    return;
  }
  Bar_->hide();
  Text_->setText(summary);
  Text_->setToolTip(summary);
  PlaceAtBottom();
  show();
  raise();
}

QString TProgressStrip::Summary() const { return isHidden() ? QString() : Summary_; }

void TProgressStrip::PlaceAtBottom() {
  const QWidget* window = parentWidget();
  setGeometry(kMargin, window->height() - kHeight - 2, window->width() - 2 * kMargin - RightReserve_, kHeight);
}

bool TProgressStrip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) PlaceAtBottom();
  return QWidget::eventFilter(watched, event);
}
