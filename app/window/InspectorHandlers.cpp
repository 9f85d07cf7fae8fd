// The media tools' handlers of the main window: open a file and report its streams, step
// through its video frames, save the frame picture, open the maker's web page.
#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "FFDecode/PictureFile.h"
#include "FFDecode/StreamReport.h"
#include "window/FileNameText.h"
#include "window/FramePosition.h"
#include "window/FramePreview.h"
#include "window/LogViewLineBuffer.h"
#include "window/MainWindow.h"
#include "Text/Trim.h"
#include "window/VendorPage.h"

namespace {

QFileDialog* MakeSavePictureDialog(QWidget* owner) {
  auto* dialog = new QFileDialog(owner);
  dialog->setObjectName(QStringLiteral("SavePictureDialog1"));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilters({QStringLiteral("JPEG picture (*.jpg *.jpeg)"), QStringLiteral("Bitmap (*.bmp)"),
                          QStringLiteral("All files (*)")});
  dialog->setDefaultSuffix(QStringLiteral("jpg"));
  return dialog;
}

}  // namespace

void TfrmDecoder::MakeInspector() {
  SavePictureDialog1 = MakeSavePictureDialog(this);
  Preview_ = new TFramePreview(this);
  Preview_->hide();
  UrlOpener_ = [](const QUrl& address) { QDesktopServices::openUrl(address); };
  MessageShower_ = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("Morvane"), text); };

  MediaToolsAction_ = new QAction(QStringLiteral("Media tools"), this);
  MediaToolsAction_->setObjectName(QStringLiteral("actMediaTools"));
  MediaToolsAction_->setCheckable(true);
  MediaToolsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  MediaToolsAction_->setShortcutContext(Qt::WindowShortcut);
  MediaToolsAction_->setToolTip(QStringLiteral("Show the media tools (Ctrl+I)"));
  addAction(MediaToolsAction_);
  // A right click on the window offers the toggle; the window itself looks as designed.
  setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(MediaToolsAction_, &QAction::toggled, this, &TfrmDecoder::SetMediaToolsVisible);

  connect(Tools_.btnOpen, &QPushButton::clicked, this, &TfrmDecoder::btnOpenClick);
  connect(Tools_.btnNextFrame, &QPushButton::clicked, this, &TfrmDecoder::btnNextFrameClick);
  connect(Tools_.btnPreviousFrame, &QPushButton::clicked, this, &TfrmDecoder::btnPreviousFrameClick);
  connect(Tools_.btnNextKF, &QPushButton::clicked, this, &TfrmDecoder::btnNextKFClick);
  connect(Tools_.btnPreviousKF, &QPushButton::clicked, this, &TfrmDecoder::btnPreviousKFClick);
  connect(Tools_.btnSave, &QPushButton::clicked, this, &TfrmDecoder::btnSaveClick);
  connect(Tools_.btnWebSite, &QPushButton::clicked, this, &TfrmDecoder::btnWebSiteClick);
}

void TfrmDecoder::SetMediaToolsVisible(bool visible) {
  if (visible) {
    // The controls' initial texts are names, not something to show a user.
    if (Tools_.lblPTS->text() == QStringLiteral("lblPTS")) Tools_.lblPTS->setText(QString());
    const std::string log = LogLines_->Text();
    if (log == "mmoLog" || log.starts_with("mmoLog\n")) LogLines_->SetText(log.substr(std::min<std::size_t>(log.size(), 7)));
    ToolsLayout_.Show(*this, Tools_, *Preview_);
    KeepOnScreen();
  } else {
    ToolsLayout_.Hide(*this, Tools_, *Preview_);
  }
  PlaceControls();
  if (MediaToolsAction_->isChecked() != visible) MediaToolsAction_->setChecked(visible);
  LogLines_->ShowLines();
}

void TfrmDecoder::KeepOnScreen() {
  const QScreen* screen = this->screen();
  if (!screen || isMaximized() || isFullScreen()) return;
  const QRect room = screen->availableGeometry();
  QRect outer = frameGeometry();
  if (room.contains(outer)) return;
  outer.moveRight(std::min(outer.right(), room.right()));
  outer.moveBottom(std::min(outer.bottom(), room.bottom()));
  outer.moveLeft(std::max(outer.left(), room.left()));
  outer.moveTop(std::max(outer.top(), room.top()));
  move(outer.topLeft());
}

void TfrmDecoder::ClearFramePicture() {
  FramePicture_ = QImage();
  if (Preview_) Preview_->SetPicture(FramePicture_);
  FFDecoder.Converter().Bitmap().Clear();
}

void TfrmDecoder::btnOpenClick() {
  if (!FFDecoder.EnsureLibraries()) {
    LogLines_->Add(FFDecoder.LastErrMsg());
    LogLines_->ShowLines();
    return;
  }
  const std::optional<QStringList> chosen = DialogRunner_(*OpenDialog1);
  if (!chosen || chosen->isEmpty()) return;
  OpenInMediaTools(chosen->first());
}

void TfrmDecoder::ListView1RowActivated(int row) {
  if (Busy_ || row < 0 || static_cast<std::size_t>(row) >= Workflow_->Rows().size()) return;
  SetMediaToolsVisible(true);
  if (!FFDecoder.EnsureLibraries()) {
    LogLines_->Add(FFDecoder.LastErrMsg());
    LogLines_->ShowLines();
    return;
  }
  OpenInMediaTools(DisplayFileName(Workflow_->Rows()[static_cast<std::size_t>(row)].FileName));
}

void TfrmDecoder::OpenInMediaTools(const QString& fileName) {
  OpenDialogFileName_ = fileName;
  ClearFramePicture();
  Tools_.lblPTS->setText(QString::fromStdString(PositionText(0)));
  if (!FFDecoder.LoadFile(FileNameBytes(OpenDialogFileName_))) {
    LogLines_->Add("");
    LogLines_->Add("***File load error: " + FFDecoder.LastErrMsg());
    LogLines_->Add("");
    LogLines_->ShowLines();
    return;
  }
  LogLines_->Add("***FFDecoder.FileInfoText");
  LogLines_->Add(text::TrimControls(FFDecoder.FileInfoText()));
  LogLines_->Add("");
  for (const std::string& line : StreamReportLines(FFDecoder)) LogLines_->Add(line);
  if (FFDecoder.VideoStreamCount() >= 1)
    btnNextFrameClick();
  else
    LogLines_->ShowLines();
}

void TfrmDecoder::btnNextFrameClick() { StepFrame(&TFFDecoder::Decode); }

void TfrmDecoder::btnPreviousFrameClick() { StepFrame(&TFFDecoder::DecodePreviousFrame); }

void TfrmDecoder::btnNextKFClick() { StepFrame(&TFFDecoder::DecodeNextKeyFrame); }

void TfrmDecoder::btnPreviousKFClick() { StepFrame(&TFFDecoder::DecodePreviousKeyFrame); }

void TfrmDecoder::StepFrame(bool (TFFDecoder::*step)(int)) {
  if ((FFDecoder.*step)(-1))
    ShowFrame();
  else
    LogLines_->Add("***Decode failed: " + FFDecoder.LastErrMsg());
  LogLines_->ShowLines();
}

void TfrmDecoder::ShowFrame() {
  int width = 0;
  int height = 0;
  FFDecoder.DisplaySize(width, height);
  // The preview shows 32-bit rows: the 15- and 16-bit rows would show blue as red.
  FFDecoder.Converter().SetBitmapPixelFormat(TBitmapPixelFormat::pf32bit);
  if (!FFDecoder.ConvertUpright(width, height)) {
    ClearFramePicture();
    LogLines_->Add("***Picture conversion failed: " + FFDecoder.LastErrMsg());
    return;
  }
  TBitmap& bitmap = FFDecoder.Converter().Bitmap();
  FramePicture_ = QImage(bitmap.Row(0), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_RGB32);
  Preview_->SetPicture(FramePicture_);
  TFileStreamInfo file;
  FFDecoder.GetFileStreamInfo(file);
  Tools_.lblPTS->setText(QString::fromStdString(FramePositionCaption(FFDecoder.Frame(), file.Duration)));
}

void TfrmDecoder::btnSaveClick() {
  SavePictureDialog1->selectFile(QFileInfo(OpenDialogFileName_).completeBaseName());
  if (FramePicture_.width() == 0) return;
  const std::optional<QStringList> chosen = DialogRunner_(*SavePictureDialog1);
  if (!chosen || chosen->isEmpty()) return;
  const QString fileName = chosen->first();
  SavePictureDialog1->setDirectory(QFileInfo(fileName).absolutePath());
  std::string error;
  if (SaveFramePicture(FFDecoder.Converter().Bitmap(), FileNameBytes(fileName), FileNameBytes(OpenDialogFileName_),
                       error) != TFrameSave::Saved)
    MessageShower_(QStringLiteral("The picture could not be saved to %1: %2")
                       .arg(fileName, QString::fromStdString(error)));
}

void TfrmDecoder::btnWebSiteClick() {
  UrlOpener_(QUrl(VendorPageAddress(VendorAddress_, QCoreApplication::applicationFilePath())));
}
