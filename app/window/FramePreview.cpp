#include "window/FramePreview.h"

#include <QPainter>

TFramePreview::TFramePreview(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FramePreview"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFramePreview::SetPicture(const QImage& picture) {
  Picture_ = picture;
  update();
}

QRect TFramePreview::PictureArea() const {
  if (Picture_.isNull()) return {};
  QSize size = Picture_.size();
  size.scale(this->size(), Qt::KeepAspectRatio);
  QRect area(QPoint(), size);
  area.moveCenter(rect().center());
  return area;
}

void TFramePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(32, 32, 32));
  if (Picture_.isNull()) return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(PictureArea(), Picture_);
}
