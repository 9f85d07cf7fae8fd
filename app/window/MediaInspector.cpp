#include "window/MediaInspector.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "FFDecode/PictureFile.h"
#include "FFDecode/StreamReport.h"
#include "Text/Trim.h"
#include "window/FileNameText.h"
#include "window/FramePosition.h"
#include "window/FramePreview.h"
#include "window/LogViewLineBuffer.h"
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

TMediaInspector::TMediaInspector(QWidget& window, QFileDialog& openDialog)
    : QWidget(&window), OpenDialog1(openDialog) {
  setObjectName(QStringLiteral("MediaInspector"));
  setGeometry(window.rect());
  lower();  // the window's own controls stay on top
  Controls_ = MakeMediaToolsPanel(this);
  LogLines_ = std::make_unique<TLogViewLineBuffer>(*Controls_.mmoLog);
  SavePictureDialog1 = MakeSavePictureDialog(this);
  Preview_ = new TFramePreview(this);
  Preview_->hide();
  VendorAddress_ = VendorAddress();
  UrlOpener_ = [](const QUrl& address) { QDesktopServices::openUrl(address); };
  MessageShower_ = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("Morvane"), text); };

  FFLogger.SetOnLog([this](const void* sender, std::uint32_t threadId, TLogLevel level, const std::string& message) {
    FFLoggerLog(sender, threadId, level, message);
  });
  connect(Controls_.cboLogLevel, &QComboBox::currentIndexChanged, this, &TMediaInspector::cboLogLevelChange);
  connect(Controls_.btnOpen, &QPushButton::clicked, this, &TMediaInspector::btnOpenClick);
  connect(Controls_.btnNextFrame, &QPushButton::clicked, this, &TMediaInspector::btnNextFrameClick);
  connect(Controls_.btnPreviousFrame, &QPushButton::clicked, this, &TMediaInspector::btnPreviousFrameClick);
  connect(Controls_.btnNextKF, &QPushButton::clicked, this, &TMediaInspector::btnNextKFClick);
  connect(Controls_.btnPreviousKF, &QPushButton::clicked, this, &TMediaInspector::btnPreviousKFClick);
  connect(Controls_.btnSave, &QPushButton::clicked, this, &TMediaInspector::btnSaveClick);
  connect(Controls_.btnWebSite, &QPushButton::clicked, this, &TMediaInspector::btnWebSiteClick);
}

TMediaInspector::~TMediaInspector() {
  // Log lines that arrive while the inspector goes away have nowhere to go.
  FFLogger.SetOnLog(nullptr);
  ClearFramePicture();
}

void TMediaInspector::ClearInitialTexts() {
  if (Controls_.lblPTS->text() == QStringLiteral("lblPTS")) Controls_.lblPTS->setText(QString());
  const std::string log = LogLines_->Text();
  if (log == "mmoLog" || log.starts_with("mmoLog\n")) LogLines_->SetText(log.substr(std::min<std::size_t>(log.size(), 7)));
}

void TMediaInspector::FFLoggerLog(const void*, std::uint32_t threadId, TLogLevel level, const std::string& message) {
  LogLines_->Add("#" + std::to_string(threadId) + "." + std::to_string(static_cast<int>(level)) + ": " + message);
}

void TMediaInspector::cboLogLevelChange() {
  const int index = Controls_.cboLogLevel->currentIndex();
  if (index >= llQuiet && index <= llDebug) FFLogger.SetLogLevel(static_cast<TLogLevel>(index));
}

void TMediaInspector::ClearFramePicture() {
  FramePicture_ = QImage();
  if (Preview_) Preview_->SetPicture(FramePicture_);
  FFDecoder.Converter().Bitmap().Clear();
}

bool TMediaInspector::LibrariesReady() {
  if (FFDecoder.EnsureLibraries()) return true;
  LogLines_->Add(FFDecoder.LastErrMsg());
  LogLines_->ShowLines();
  return false;
}

void TMediaInspector::btnOpenClick() {
  if (!LibrariesReady()) return;
  const std::optional<QStringList> chosen = DialogRunner_(OpenDialog1);
  if (!chosen || chosen->isEmpty()) return;
  Open(chosen->first());
}

void TMediaInspector::OpenFile(const QString& fileName) {
  if (LibrariesReady()) Open(fileName);
}

void TMediaInspector::Open(const QString& fileName) {
  OpenDialogFileName_ = fileName;
  ClearFramePicture();
  Controls_.lblPTS->setText(QString::fromStdString(PositionText(0)));
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

void TMediaInspector::btnNextFrameClick() { StepFrame(&TFFDecoder::Decode); }

void TMediaInspector::btnPreviousFrameClick() { StepFrame(&TFFDecoder::DecodePreviousFrame); }

void TMediaInspector::btnNextKFClick() { StepFrame(&TFFDecoder::DecodeNextKeyFrame); }

void TMediaInspector::btnPreviousKFClick() { StepFrame(&TFFDecoder::DecodePreviousKeyFrame); }

void TMediaInspector::StepFrame(bool (TFFDecoder::*step)(int)) {
  if ((FFDecoder.*step)(-1))
    ShowFrame();
  else
    LogLines_->Add("***Decode failed: " + FFDecoder.LastErrMsg());
  LogLines_->ShowLines();
}

void TMediaInspector::ShowFrame() {
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
  Controls_.lblPTS->setText(QString::fromStdString(FramePositionCaption(FFDecoder.Frame(), file.Duration)));
}

void TMediaInspector::btnSaveClick() {
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

void TMediaInspector::btnWebSiteClick() {
  UrlOpener_(QUrl(VendorPageAddress(VendorAddress_, QCoreApplication::applicationFilePath())));
}
