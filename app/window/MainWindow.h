// frmDecoder: the program's single window. It shows the file list of the renaming workflow
// with its five buttons, owns the dialogs, and holds the media inspector (with the decoder
// and the log relay), hidden until the user shows it.
#pragma once
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "window/CopyQuestion.h"
#include "window/FileDialogs.h"
#include "window/MediaToolsLayout.h"
#include "window/NamingChoice.h"
#include "window/RunSummary.h"
#include "workflow/rows/FileRow.h"

class QAction;
class QFileDialog;
class QLabel;
class QSettings;
struct TJournalRun;
class TFileListView;
class TLogViewLineBuffer;
class TMediaInspector;
class TNamingDialog;
class TProgressStrip;
class TRenamingWorkflow;
class TStyledButton;

class TfrmDecoder : public QWidget {
  Q_OBJECT
 public:
  // `settingsFile`: where size, place, column widths and folders are remembered between
  // starts; empty: nothing is remembered.
  explicit TfrmDecoder(QWidget* parent = nullptr, QString settingsFile = {});
  ~TfrmDecoder() override;

  static constexpr int DesignWidth = 740;
  static constexpr int DesignHeight = 417;
  // The file-open dialog's filter list as description|patterns pairs.
  static const std::string& OpenDialogFilter();

  // Replaces how the file and folder dialogs are shown, the media inspector's too (tests
  // answer them without a person).
  void SetDialogRunner(TDialogRunner runner);
  // Replaces how the question before a copy is answered (tests answer it without a person).
  void SetQuestionRunner(TQuestionRunner runner) { QuestionRunner_ = std::move(runner); }

  TProgressStrip& Progress() { return *Progress_; }
  TMediaInspector& Inspector() { return *Inspector_; }

  // The media tools: hidden at start; shown, they widen the window (Ctrl+I toggles them).
  void SetMediaToolsVisible(bool visible);
  bool MediaToolsVisible() const { return ToolsLayout_.Shown(); }

  // Event handlers, public so that a user's click and a test's call take the same road.
  // "Select file(s)": adds the chosen files, and the media files in chosen folders, to the list.
  void RzButton1Click();
  // Files dropped onto the list are added as chosen ones; dropped folders give their media files.
  void ListView1PathsDropped(const QStringList& paths);
  void RzButton2Click();  // "Rename file(s)"
  // "Copy file(s)": asks for the folder, shows in the list what the copy would do and asks
  // before copying; a copy not wanted leaves the list showing what a rename would do.
  void RzButton3Click();
  // "Clear" (the list's context menu, Ctrl+L): empties the list.
  void ClearList();
  void RzButton4Click();  // "Close"
  void RzButton5Click();  // the about button
  // Double-click or Enter on a row: the media tools show and open that row's file.
  void ListView1RowActivated(int row);
  // "Undo last rename" (Ctrl+Z): puts the run offered back, the undo journal's newest run not
  // undone as of the window's start or last run, until it is undone.
  void btnUndoClick();
  // "Naming options...": shows the naming options beside the window.
  void btnNamingClick();
  // Takes `choice` for every run from now on and shows at once what a rename would do.
  void SetNamingChoice(const TNamingChoice& choice);
  const TNamingChoice& NamingChoice() const { return Naming_; }
  TNamingDialog* NamingDialog() const { return NamingDialog_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void RestoreSettings();
  void RestoreGeometry(const QSettings& settings);
  void SaveSettings() const;
  void MakeVisibleControls();
  // The list's context menu: "Clear" (Ctrl+L), then the window's own actions.
  void MakeListMenu();
  void SetTabOrder();
  // Runs one pass of the workflow with the progress strip, the buttons unavailable and
  // input dropped; afterwards the strip keeps the run's summary.
  void RunWithProgress(TRunKind kind, const std::function<void()>& pass);
  void SetRunButtonsEnabled(bool enabled);
  // Adds the chosen or dropped `paths` to the list, each folder as the media files under it.
  void AddPaths(const QStringList& paths);
  // Adds a row for each of `files` not listed yet, then plans all rows; `problems` are what
  // a chosen folder could not give, said in the log view and the summary.
  void ReadFiles(const std::vector<std::string>& files, const std::vector<std::string>& problems);
  // Runs the workflow's read of `files` on a thread of its own (which hands the files to
  // the workflow's worker threads) while the window goes on handling events; the rows are
  // shown as they come, after those listed already.
  void ReadOnWorkers(const std::vector<std::string>& files);
  // Fills every row's new name and result with what a rename would do.
  void PlanRename();
  // Sizes the client area so that, with `frame` around it, the window has the design size.
  void FitOuterSize(const QMargins& frame);
  // Sizes the window to the design size with the frame it has now, and centres it (unless
  // the last start's size and place were taken).
  void PlaceInFrame();
  // Moves the window so that its frame is on its screen, as far as it fits.
  void KeepOnScreen();
  // Places the controls for the window's size (see MainLayout.h and MediaToolsLayout.h).
  void PlaceControls();
  void ShowRows();
  // The media tools' toggle (Ctrl+I, offered by a right click on the window).
  void MakeMediaToolsToggle();
  void MakeUndo();
  // Offers the undo journal's newest run not undone, as morvane-cli undo takes it, with its
  // time and file count in the tooltips; nothing when there is none.
  void OfferNewestUndo();
  void ShowUndoOffer(const TJournalRun* run);
  void MakeNaming();
  // Hands the run options, made of the naming choice, to the workflow (between runs only).
  void ApplyNamingChoice();

  TMediaInspector* Inspector_ = nullptr;
  QLabel* Label6 = nullptr;
  TFileListView* ListView1 = nullptr;
  TStyledButton* RzButton1 = nullptr;
  TStyledButton* RzButton2 = nullptr;
  TStyledButton* RzButton3 = nullptr;
  TStyledButton* RzButton4 = nullptr;
  TStyledButton* RzButton5 = nullptr;
  TStyledButton* btnUndo = nullptr;
  QAction* UndoAction_ = nullptr;
  QAction* ClearAction_ = nullptr;
  TStyledButton* btnNaming = nullptr;
  TNamingDialog* NamingDialog_ = nullptr;
  TNamingChoice Naming_;
  QStringList NamingNotTaken_;  // what the remembered choice could not keep, until a new choice
  std::string UndoRunId_;  // the journal run "Undo last rename" puts back; empty: none
  QFileDialog* OpenDialog1 = nullptr;
  QFileDialog* RzSelectFolderDialog1 = nullptr;
  TProgressStrip* Progress_ = nullptr;
  QAction* MediaToolsAction_ = nullptr;
  TMediaToolsLayout ToolsLayout_;

  // The log view's lines (the inspector's), the workflow's line buffer.
  TLogViewLineBuffer* LogLines_ = nullptr;
  std::unique_ptr<TRenamingWorkflow> Workflow_;
  TDialogRunner DialogRunner_ = RunDialogModally;
  TQuestionRunner QuestionRunner_ = AskModally;
  QString ProgressVerb_;
  QSize DesignClient_{DesignWidth, DesignHeight};  // the client size the design is laid out for
  int LogBottomMargin_ = 0;  // mmoLog keeps its distance to the bottom edge
  int LogDesignBottom_ = 0;  // where mmoLog ends in the design
  QString SettingsFile_;
  bool SizeRestored_ = false;   // the last start's size was taken
  bool PlaceRestored_ = false;  // and its place too (it is on a screen)
  bool Placed_ = false;      // sized and centred on the first show
  bool FrameFitted_ = false; // sized for the window manager's frame once it was known
  bool Busy_ = false;        // a pass over the file list is running
  std::atomic<bool> StopRead_ = false;  // Esc during a read
  std::size_t ReadCount_ = 0;           // the files the last read was given
  std::size_t ReadNew_ = 0;             // those of them not listed before
  std::size_t ReadFrom_ = 0;            // the rows listed before the last read
  bool Reading_ = false;                // the workflow's rows belong to the reading thread
  std::vector<TFileRow> RowsRead_;      // the rows of the read under way, as they came
  std::vector<std::string> ReadProblems_;
  bool CloseWhenDone_ = false;
};
