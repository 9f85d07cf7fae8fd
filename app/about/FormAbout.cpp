#include "about/FormAbout.h"

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>

#include <cstring>

#include "about/AboutPicture.h"
#include "about/JpegReader.h"
#include "about/VersionInfo.h"
#include "common/WindowFont.h"
#include "platform/FileSystem.h"

namespace {

// An empty image when the picture cannot be decoded; the box then shows its white face.
QImage LoadAboutPicture() {
  RgbPicture picture;
  std::string error;
  if (!DecodeJpeg(AboutPictureJpeg(), picture, error)) return {};
  QImage image(picture.width, picture.height, QImage::Format_RGB888);
  const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(image.scanLine(y), picture.rgb.data() + stride * static_cast<std::size_t>(y), stride);
  return image;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& box) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(box);
  label->setAlignment(Qt::AlignCenter);
  label->setAutoFillBackground(false);  // transparent: the board shows through
  label->setWordWrap(false);
  return label;
}

bool IsLeftClickInside(const QMouseEvent* event, const QWidget* widget) {
  return event->button() == Qt::LeftButton && widget->rect().contains(event->position().toPoint());
}

}  // namespace

TFormAbout::TFormAbout(QWidget* owner, const std::optional<std::string>& versionFile)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setWindowTitle(QStringLiteral("About"));
  setFixedSize(AboutPictureWidth, AboutPictureHeight);
  setFont(WindowFont(13));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setAutoFillBackground(true);

  image2_ = MakeLabel(this, "Image2", QRect(0, 0, AboutPictureWidth, AboutPictureHeight));
  image2_->setPixmap(QPixmap::fromImage(LoadAboutPicture()));
  // Created after the picture, so they stand on it.
  label2_ = MakeLabel(this, "Label2", QRect(74, 155, 315, 30));
  label2_->setText(QStringLiteral("Morvane"));
  labelInfo_ = MakeLabel(this, "LabelInfo", QRect(74, 225, 315, 13));

  for (QLabel* watched : {image2_, label2_, labelInfo_}) watched->installEventFilter(this);
  FormCreate(versionFile ? *versionFile : platform::GetExeFileName());
}

void TFormAbout::FormCreate(const std::string& versionFile) {
  const TVersionInfo info(versionFile);
  labelInfo_->setText(QStringLiteral("Ver. ") + QString::fromStdU16String(info.FileVersion()));
}

void TFormAbout::FormClick() { close(); }

void TFormAbout::Image2Click() { close(); }

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool mouseButton = type == QEvent::MouseButtonPress ||
                           type == QEvent::MouseButtonRelease ||
                           type == QEvent::MouseButtonDblClick;
  if (!mouseButton) return QDialog::eventFilter(watched, event);
  // A label swallows its clicks, so that they do not reach the box behind it.
  if (watched != image2_) return true;
  if (type == QEvent::MouseButtonRelease && IsLeftClickInside(static_cast<QMouseEvent*>(event), image2_))
    Image2Click();
  return true;
}

void TFormAbout::mouseReleaseEvent(QMouseEvent* event) {
  if (IsLeftClickInside(event, this))
    FormClick();
  else
    QDialog::mouseReleaseEvent(event);
}

void TFormAbout::setVisible(bool visible) {
  if (visible && parentWidget()) {
    QRect box = frameGeometry();
    box.moveCenter(parentWidget()->window()->frameGeometry().center());
    move(box.topLeft());  // also keeps QDialog from placing it by its own guess
  }
  QDialog::setVisible(visible);
}

void ShowAboutBox(QWidget* owner) {
  auto* box = new TFormAbout(owner);
  // exec() deletes a box with this attribute once its loop has ended, and not at all when
  // the owner has already taken it down with itself.
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->exec();
}
