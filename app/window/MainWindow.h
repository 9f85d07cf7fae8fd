// frmDecoder: the program's single window. It shows the file list of the renaming workflow
// with its five buttons, owns the decoder and log relay components and the dialogs, and
// carries the media inspector's controls, hidden.
#pragma once
#include <QWidget>
#include <memory>

#include "FFDecode/CustomDecoder.h"
#include "FFLog/FFLog.h"
#include "FileDialogs.h"
#include "MediaToolsPanel.h"
#include "RunSummary.h"

class QFileDialog;
class QLabel;
class TFileListView;
class TLogViewLineBuffer;
class TProgressStrip;
class TRenamingWorkflow;
class TStyledButton;

class TfrmDecoder : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmDecoder(QWidget* parent = nullptr);
  ~TfrmDecoder() override;

  static constexpr int DesignWidth = 740;
  static constexpr int DesignHeight = 417;
  // The file-open dialog's filter list as description|patterns pairs.
  static const char* const OpenDialogFilter;

  // Replaces how the file and folder dialogs are shown (tests answer them without a person).
  void SetDialogRunner(TDialogRunner runner) { DialogRunner_ = std::move(runner); }

  TProgressStrip& Progress() { return *Progress_; }

  // Event handlers, public so that a user's click and a test's call take the same road.
  void RzButton1Click();  // "Select file(s)"
  void RzButton2Click();  // "Rename file(s)"
  void RzButton3Click();  // "Copy file(s)"
  void RzButton4Click();  // "Close"
  void RzButton5Click();  // the about button
  void FFLoggerLog(const void* sender, std::uint32_t threadId, TLogLevel level, const std::string& message);
  void cboLogLevelChange();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void MakeVisibleControls();
  void SetTabOrder();
  // Runs one pass of the workflow with the progress strip, the buttons unavailable and
  // input dropped; afterwards the strip keeps the run's summary.
  void RunWithProgress(TRunKind kind, const std::function<void()>& pass);
  void SetRunButtonsEnabled(bool enabled);
  // Sizes the client area so that, with `frame` around it, the window has the design size.
  void FitOuterSize(const QMargins& frame);
  void ShowRows();

  TFFLogger FFLogger;
  TFFDecoder FFDecoder;
  QLabel* Label6 = nullptr;
  TFileListView* ListView1 = nullptr;
  TStyledButton* RzButton1 = nullptr;
  TStyledButton* RzButton2 = nullptr;
  TStyledButton* RzButton3 = nullptr;
  TStyledButton* RzButton4 = nullptr;
  TStyledButton* RzButton5 = nullptr;
  TMediaToolsPanel Tools_;
  QFileDialog* OpenDialog1 = nullptr;
  QFileDialog* RzSelectFolderDialog1 = nullptr;
  TProgressStrip* Progress_ = nullptr;

  std::unique_ptr<TLogViewLineBuffer> LogLines_;
  std::unique_ptr<TRenamingWorkflow> Workflow_;
  TDialogRunner DialogRunner_ = RunDialogModally;
  QString ProgressVerb_;
  int LogBottomMargin_ = 0;  // mmoLog keeps its distance to the bottom edge
  int LogDesignBottom_ = 0;  // where mmoLog ends in the design
  bool Placed_ = false;      // sized and centred on the first show
  bool FrameFitted_ = false; // sized for the window manager's frame once it was known
  bool Busy_ = false;        // a pass over the file list is running
  bool CloseWhenDone_ = false;
};
