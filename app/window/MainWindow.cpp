#include "window/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>

#include "about/FormAbout.h"
#include "common/WindowFont.h"
#include "window/FileListView.h"
#include "window/FileNameText.h"
#include "window/FilterList.h"
#include "window/InputBlocker.h"
#include "window/LogViewLineBuffer.h"
#include "window/MainLayout.h"
#include "window/MediaInspector.h"
#include "window/NamingDialog.h"
#include "window/ProgressStrip.h"
#include "window/RunSummary.h"
#include "window/StyledButton.h"
#include "window/WindowRunOptions.h"
#include "workflow/files/MediaExtensions.h"
#include "workflow/files/MediaFolderWalk.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/undo/UndoJournal.h"

namespace {

// "*.EXT;" for each extension of the lists, in order.
std::string Patterns(std::initializer_list<std::span<const std::string_view>> lists) {
  std::string patterns;
  for (const std::span<const std::string_view> list : lists)
    for (const std::string_view extension : list) patterns.append("*").append(extension).append(";");
  return patterns;
}

}  // namespace

const std::string& TfrmDecoder::OpenDialogFilter() {
  using namespace media_extensions;
  static const std::string filter = "Video/Audio/Picture Files|" + Patterns({Video, Audio, Picture, More}) +
                                    "|Video Files|" + Patterns({Video}) + "|Audio Files|" + Patterns({Audio}) +
                                    "|Picture Files|" + Patterns({Picture}) + "|All Files|*.*";
  return filter;
}

namespace {

std::vector<std::string> FileNamesBytes(const QStringList& paths) {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(paths.size()));
  for (const QString& path : paths) names.push_back(FileNameBytes(path));
  return names;
}

}  // namespace

TfrmDecoder::TfrmDecoder(QWidget* parent, QString settingsFile)
    : QWidget(parent), SettingsFile_(std::move(settingsFile)) {
  setObjectName(QStringLiteral("frmDecoder"));
  setWindowTitle(QStringLiteral("Morvane. v0.2"));
  setFont(WindowFont(12));
  resize(DesignWidth, DesignHeight);

  OpenDialog1 = MakeOpenDialog(this);
  // Tab positions 0 to 9 belong to the inspector's controls, then come the visible ones.
  Inspector_ = new TMediaInspector(*this, *OpenDialog1);
  MakeVisibleControls();
  SetTabOrder();

  RzSelectFolderDialog1 = MakeFolderDialog(this);
  Progress_ = new TProgressStrip(this);

  LogLines_ = &Inspector_->Lines();
  // The lookups use the inspector's decoder: a lookup closes the file the inspector opened.
  Workflow_ = std::make_unique<TRenamingWorkflow>(Inspector_->Decoder(), *LogLines_);
  Progress_->BeforeRepaint = [this] {
    LogLines_->ShowLines();
    ShowRows();  // rows appear as they are read
  };
  Workflow_->OnProgress = [this](std::size_t index, std::size_t count, const std::string& fileName) {
    Progress_->Step(ProgressVerb_, index, count, DisplayFileName(fileName));
  };

  connect(Inspector_->Controls().btnExit, &QPushButton::clicked, this, &QWidget::close);
  MakeMediaToolsToggle();
  MakeUndo();
  OfferNewestUndo();  // a run left from before the start can be undone too
  MakeNaming();
  MakeListMenu();
  FormCreate();
  RestoreSettings();
  ApplyNamingChoice();
}

TfrmDecoder::~TfrmDecoder() = default;

void TfrmDecoder::SetDialogRunner(TDialogRunner runner) {
  DialogRunner_ = runner;
  Inspector_->SetDialogRunner(std::move(runner));
}

void TfrmDecoder::MakeVisibleControls() {
  Label6 = new QLabel(
      QStringLiteral("이 프로그램은 멀티미디어 파일에 포함된 생성 날짜를 파일명으로 변경 하는 프로그램입니다."), this);
  Label6->setObjectName(QStringLiteral("Label6"));
  Label6->setGeometry(Label6Place);
  Label6->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  QFont bold = font();
  bold.setBold(true);
  Label6->setFont(bold);

  ListView1 = new TFileListView(this);
  ListView1->setGeometry(ListView1Place);
  ListView1->OnPathsDropped = [this](const QStringList& paths) { ListView1PathsDropped(paths); };
  connect(ListView1, &QAbstractItemView::activated, this,
          [this](const QModelIndex& index) { ListView1RowActivated(index.row()); });

  auto button = [this](const char* name, const QString& caption, int left, int width) {
    auto* b = new TStyledButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(left, 25, width, 25);
    return b;
  };
  RzButton1 = button("RzButton1", QStringLiteral("Select file(s)"), 10, 121);
  RzButton2 = button("RzButton2", QStringLiteral("Rename file(s)"), 140, 121);
  RzButton3 = button("RzButton3", QStringLiteral("Copy file(s)"), 270, 121);
  RzButton4 = button("RzButton4", QStringLiteral("Close"), RzButton4Place.left(), RzButton4Place.width());
  RzButton5 = button("RzButton5", QStringLiteral("어바우트~"), RzButton5Place.left(), RzButton5Place.width());
  RzButton5->setFocusPolicy(Qt::ClickFocus);  // not a tab stop

  connect(RzButton1, &QPushButton::clicked, this, &TfrmDecoder::RzButton1Click);
  connect(RzButton2, &QPushButton::clicked, this, &TfrmDecoder::RzButton2Click);
  connect(RzButton3, &QPushButton::clicked, this, &TfrmDecoder::RzButton3Click);
  connect(RzButton4, &QPushButton::clicked, this, &TfrmDecoder::RzButton4Click);
  connect(RzButton5, &QPushButton::clicked, this, &TfrmDecoder::RzButton5Click);
}

void TfrmDecoder::MakeListMenu() {
  ClearAction_ = new QAction(QStringLiteral("Clear"), ListView1);
  ClearAction_->setObjectName(QStringLiteral("actClear"));
  ClearAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  ClearAction_->setShortcutContext(Qt::WindowShortcut);
  connect(ClearAction_, &QAction::triggered, this, &TfrmDecoder::ClearList);
  // A right click on the list offers "Clear", then what a right click elsewhere offers.
  ListView1->addAction(ClearAction_);
  auto* separator = new QAction(ListView1);
  separator->setSeparator(true);
  ListView1->addAction(separator);
  ListView1->addActions(actions());
  ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TfrmDecoder::SetTabOrder() {
  QWidget* const order[] = {Inspector_->Controls().mmoLog, ListView1, RzButton1, RzButton2, RzButton3, RzButton4};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TfrmDecoder::FormCreate() {
  const QStringList filters = ConvertFilterList(QString::fromStdString(OpenDialogFilter()));
  OpenDialog1->setNameFilters(filters);
  OpenDialog1->selectNameFilter(filters.first());
  // The libraries are loaded by the first lookup, not here.
}

void TfrmDecoder::RzButton1Click() {
  const std::optional<QStringList> chosen = DialogRunner_(*OpenDialog1);
  if (!chosen) return;
  if (!chosen->isEmpty()) {
    Inspector_->SetOpenDialogFileName(chosen->first());
    OpenDialog1->setDirectory(QFileInfo(chosen->first()).absolutePath());
  }
  AddPaths(*chosen);
}

void TfrmDecoder::ListView1PathsDropped(const QStringList& paths) {
  if (Busy_) return;  // a drop during a run is input like any other: dropped
  AddPaths(paths);
}

void TfrmDecoder::AddPaths(const QStringList& paths) {
  TFolderWalk walk = ExpandFolders(FileNamesBytes(paths));
  // The files a walk passed over are said with what it could not read, as morvane-cli says them.
  if (std::string leftOut = LeftOutText(walk); !leftOut.empty()) walk.Problems.push_back(std::move(leftOut));
  ReadFiles(walk.Files, walk.Problems);
}

void TfrmDecoder::ClearList() {
  if (Busy_) return;
  Workflow_->ClearFiles();
  ShowRows();
  Progress_->Finish();  // the last run's summary speaks of rows no longer listed
}

void TfrmDecoder::ReadFiles(const std::vector<std::string>& files, const std::vector<std::string>& problems) {
  StopRead_ = false;
  ReadProblems_ = problems;
  for (const std::string& problem : problems) LogLines_->Add(problem);
  ReadCount_ = files.size();
  ReadNew_ = 0;
  ReadFrom_ = Workflow_->Rows().size();
  RunWithProgress(TRunKind::Reading, [&] {
    // Esc or Cancel stops the read: the rows read so far stay.
    Progress_->OfferCancel([this] { StopRead_ = true; });
    Workflow_->SetStopFlag(&StopRead_);
    ReadOnWorkers(files);
    Workflow_->SetStopFlag(nullptr);
    PlanRename();
  });
}

void TfrmDecoder::ApplyNamingChoice() { Workflow_->SetOptions(WindowRunOptions(Naming_, DefaultJournalPath())); }

void TfrmDecoder::SetNamingChoice(const TNamingChoice& choice) {
  // A choice of the user's own replaces the remembered one and what it could not keep.
  if (choice != Naming_ && !NamingNotTaken_.isEmpty()) {
    NamingNotTaken_.clear();
    if (NamingDialog_) NamingDialog_->ShowNotTaken({});
  }
  Naming_ = choice;
  // During a run the choice waits: the read's plan at its end takes it.
  if (Busy_) return;
  ApplyNamingChoice();
  PlanRename();
  ShowRows();
}

void TfrmDecoder::PlanRename() {
  // What a rename would do, shown before anything is done: the dry run's plan, which
  // touches no file. It is part of reading, so it announces no steps of its own.
  const TProgressEvent progress = std::exchange(Workflow_->OnProgress, nullptr);
  Workflow_->RenameFiles(TRunMode::DryRun);
  Workflow_->OnProgress = progress;
}

void TfrmDecoder::RzButton2Click() {
  // Told before the files move: without a folder for the journal this rename has no undo.
  if (const std::string warning = JournalMissingWarning(DefaultJournalPath()); !warning.empty()) {
    LogLines_->Add(warning);
    LogLines_->ShowLines();
  }
  RunWithProgress(TRunKind::Renaming, [&] {
    Workflow_->RenameFiles();
    // The rows follow their files, so that a copy after the rename finds them.
    Workflow_->FollowRenamedFiles();
  });
}

void TfrmDecoder::RzButton4Click() { close(); }

void TfrmDecoder::RzButton5Click() { ShowAboutBox(this); }

void TfrmDecoder::RunWithProgress(TRunKind kind, const std::function<void()>& pass) {
  static const QString verbs[] = {QStringLiteral("Reading"), QStringLiteral("Renaming"), QStringLiteral("Planning"),
                                  QStringLiteral("Copying")};
  Busy_ = true;
  ApplyNamingChoice();
  ProgressVerb_ = verbs[static_cast<int>(kind)];
  SetRunButtonsEnabled(false);
  {
    // Input made during the run is dropped, not carried out afterwards on rows not yet seen.
    TInputBlocker blocker(*this, [this] { StopRead_ = true; }, Progress_->CancelButton());
    pass();
    LogLines_->ShowLines();
    ShowRows();
  }
  const std::span<const TFileRow> rows = Workflow_->Rows();
  std::string summary = RunSummary(kind, kind == TRunKind::Reading ? rows.subspan(ReadFrom_) : rows);
  if (kind == TRunKind::Renaming && !Workflow_->JournalFailure().empty())
    summary += "; " + Workflow_->JournalFailure();
  if (kind == TRunKind::Copying)
    for (const std::string& notice : Workflow_->CopyNotices()) summary += "; " + notice;
  if (kind == TRunKind::Reading) {
    const std::size_t added = rows.size() - ReadFrom_;
    if (added < ReadNew_)
      summary = "stopped after " + std::to_string(added) + " of " + std::to_string(ReadNew_) + " files; " + summary;
    if (ReadNew_ < ReadCount_) summary += "; " + std::to_string(ReadCount_ - ReadNew_) + " listed already";
    // What a chosen or dropped folder could not give, as morvane-cli says it.
    for (const std::string& problem : ReadProblems_) summary += "; " + problem;
  }
  Progress_->Finish(QString::fromStdString(summary));
  OfferNewestUndo();
  SetRunButtonsEnabled(true);
  Busy_ = false;
  if (CloseWhenDone_) {
    CloseWhenDone_ = false;
    close();
  }
}

void TfrmDecoder::SetRunButtonsEnabled(bool enabled) {
  for (TStyledButton* button : {RzButton1, RzButton2, RzButton3, RzButton4, RzButton5}) button->setEnabled(enabled);
  btnUndo->setEnabled(enabled && !UndoRunId_.empty());
}

void TfrmDecoder::ShowRows() { ListView1->ShowRows(Reading_ ? RowsRead_ : Workflow_->Rows()); }

void TfrmDecoder::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (Placed_) return;
  Placed_ = true;
  const QRect log = Inspector_->Controls().mmoLog->geometry();
  LogDesignBottom_ = log.y() + log.height();
  PlaceInFrame();
  if (FrameFitted_) return;
  // A window manager makes its frame known a moment after the window is shown, with no
  // event of its own: look for it a few times a second, for a short while.
  auto* watch = new QTimer(this);
  watch->setInterval(50);
  connect(watch, &QTimer::timeout, this, [this, watch, ticks = 0]() mutable {
    if (++ticks < 40 && (!windowHandle() || windowHandle()->frameMargins().isNull())) return;
    watch->deleteLater();
    if (windowHandle() && !windowHandle()->frameMargins().isNull()) PlaceInFrame();
    FrameFitted_ = true;
  });
  watch->start();
}

void TfrmDecoder::PlaceInFrame() {
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  FrameFitted_ = !frame.isNull();
  FitOuterSize(frame);
  if (PlaceRestored_) return;
  if (const QScreen* screen = this->screen()) {
    QRect outer(QPoint(), size().grownBy(frame));
    outer.moveCenter(screen->availableGeometry().center());
    move(outer.topLeft());
  }
}

void TfrmDecoder::FitOuterSize(const QMargins& frame) {
  // The design size is the outer size: take the window manager's frame off the client area.
  DesignClient_ = QSize(DesignWidth - frame.left() - frame.right(), DesignHeight - frame.top() - frame.bottom());
  // The log view's designed place holds for this client size; later resizes move its bottom.
  LogBottomMargin_ = DesignClient_.height() - LogDesignBottom_;
  if (!SizeRestored_) resize(DesignClient_);
  PlaceControls();
}

void TfrmDecoder::PlaceControls() {
  ToolsLayout_.Fit(*this, TMainControls{Label6, ListView1, RzButton4, RzButton5}, Inspector_->Controls(),
                   Inspector_->Preview(), DesignClient_, LogBottomMargin_);
  // Under the list's right end, beside the progress strip; with the media tools shown, at
  // the end of their button row.
  const QRect list = ListView1->geometry();
  int left = list.right() + 1 - btnNaming->width();
  if (ToolsLayout_.Shown()) left = std::max(left, Inspector_->Controls().cboLogLevel->geometry().right() + 5);
  btnNaming->move(left, list.bottom() + 4);
}

void TfrmDecoder::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Inspector_->setGeometry(rect());  // the inspector's controls keep the window's coordinates
  if (Placed_) PlaceControls();
}

void TfrmDecoder::closeEvent(QCloseEvent* event) {
  // A pass over the file list runs to its end before the window handles the next event.
  if (Busy_) {
    CloseWhenDone_ = true;
    event->ignore();
    return;
  }
  SaveSettings();
  QWidget::closeEvent(event);
}
