// The media tools' preview: the current frame picture, scaled to fit with its aspect kept,
// on a dark ground.
#pragma once
#include <QImage>
#include <QWidget>

class TFramePreview : public QWidget {
 public:
  explicit TFramePreview(QWidget* parent);
  // The picture shown; a null image shows the ground only. The image may view memory
  // owned elsewhere: it must stay valid until the next call.
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return Picture_; }
  // Where the picture is drawn inside the widget.
  QRect PictureArea() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage Picture_;
};
