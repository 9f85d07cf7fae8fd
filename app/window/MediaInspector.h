// The media inspector (the window's "media tools"): opens one media file with a decoder of
// its own, reports the file and its streams in the log view, steps through the video frames
// with a preview of the frame picture, saves that picture, chooses the log level of the log
// relay and shows its lines, and opens the maker's web page.
// The inspector lies over the whole client area of its window, below the window's own
// controls (clicks on its empty parts go on to the window), so that its controls keep the
// window's coordinates. Its controls start hidden; the window's media tools layout
// (MediaToolsLayout.h) shows, hides and places them.
#pragma once
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "FFDecode/FFDecoder.h"
#include "FFLog/FFLog.h"
#include "window/FileDialogs.h"
#include "window/MediaToolsPanel.h"

class QFileDialog;
class QUrl;
class TFramePreview;
class TLogViewLineBuffer;

class TMediaInspector : public QWidget {
 public:
  // `openDialog`: the window's file-open dialog, which "Open" shares with "Select file(s)";
  // it must outlive the inspector.
  TMediaInspector(QWidget& window, QFileDialog& openDialog);
  ~TMediaInspector() override;

  const TMediaToolsPanel& Controls() const { return Controls_; }
  TFramePreview& Preview() { return *Preview_; }
  QFileDialog& SavePictureDialog() { return *SavePictureDialog1; }
  // The decoder of "Open" and the steps; the window's creation-time lookups use it too, so
  // that a lookup closes the file opened here.
  TFFDecoder& Decoder() { return FFDecoder; }
  // The log view's lines, which are the renaming workflow's line buffer too.
  TLogViewLineBuffer& Lines() { return *LogLines_; }
  // The frame picture the preview shows and Save writes; null until a frame was shown.
  const QImage& FramePicture() const { return FramePicture_; }

  // Replaces how the open and save dialogs are shown (tests answer them without a person).
  void SetDialogRunner(TDialogRunner runner) { DialogRunner_ = std::move(runner); }
  // Replaces how a web address is opened (the desktop's default opener) and how a failure
  // is shown to the user (a message box); tests watch both without a desktop or a person.
  void SetUrlOpener(std::function<void(const QUrl&)> opener) { UrlOpener_ = std::move(opener); }
  void SetMessageShower(std::function<void(const QString&)> shower) { MessageShower_ = std::move(shower); }
  // The first file of the file-open dialog's last confirmed choice, whichever button showed
  // it: Save names its picture after it.
  void SetOpenDialogFileName(const QString& fileName) { OpenDialogFileName_ = fileName; }

  // Called before the controls are shown: their initial texts are names, not something to
  // show a user.
  void ClearInitialTexts();
  // Opens `fileName`, loading the libraries first when needed: its report in the log view
  // and its first frame.
  void OpenFile(const QString& fileName);

  // Event handlers, public so that a user's click and a test's call take the same road.
  void btnOpenClick();
  void btnNextFrameClick();
  void btnPreviousFrameClick();
  void btnNextKFClick();
  void btnPreviousKFClick();
  void btnSaveClick();
  void btnWebSiteClick();
  void cboLogLevelChange();
  void FFLoggerLog(const void* sender, std::uint32_t threadId, TLogLevel level, const std::string& message);

 private:
  // Loads the libraries when they are not loaded; a failure is said in the log view.
  bool LibrariesReady();
  void Open(const QString& fileName);
  // Runs one step of the decoder on the default video stream and shows its frame.
  void StepFrame(bool (TFFDecoder::*step)(int));
  void ShowFrame();
  void ClearFramePicture();

  TFFLogger FFLogger;
  TFFDecoder FFDecoder;
  TMediaToolsPanel Controls_;
  QFileDialog& OpenDialog1;
  QFileDialog* SavePictureDialog1 = nullptr;
  TFramePreview* Preview_ = nullptr;
  std::unique_ptr<TLogViewLineBuffer> LogLines_;
  // Wraps the converter's bitmap in the decoder without a copy.
  QImage FramePicture_;
  QString OpenDialogFileName_;
  QString VendorAddress_;
  TDialogRunner DialogRunner_ = RunDialogModally;
  std::function<void(const QUrl&)> UrlOpener_;
  std::function<void(const QString&)> MessageShower_;
};
