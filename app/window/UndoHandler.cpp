// "Undo last rename": puts the undo journal's newest run not undone back, as morvane-cli undo
// does, and shows the rows where their files are then. The run is offered at start and after
// each run of the window, so that one left from before a restart can be undone too.
#include <QAction>

#include "window/FileListView.h"
#include "window/MainWindow.h"
#include "window/ProgressStrip.h"
#include "window/RunSummary.h"
#include "window/StyledButton.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/undo/UndoJournal.h"
#include "workflow/undo/UndoRun.h"

namespace {

const QString UndoTip = QStringLiteral("Put the files of the last rename back (Ctrl+Z)");

}  // namespace

void TfrmDecoder::MakeUndo() {
  btnUndo = new TStyledButton(QStringLiteral("Undo last rename"), this);
  btnUndo->setObjectName(QStringLiteral("btnUndo"));
  btnUndo->setGeometry(UndoButtonPlace);
  btnUndo->setToolTip(UndoTip);
  btnUndo->setEnabled(false);
  connect(btnUndo, &QPushButton::clicked, this, &TfrmDecoder::btnUndoClick);

  UndoAction_ = new QAction(QStringLiteral("Undo last rename"), this);
  UndoAction_->setObjectName(QStringLiteral("actUndo"));
  UndoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  UndoAction_->setShortcutContext(Qt::WindowShortcut);
  UndoAction_->setToolTip(UndoTip);
  connect(UndoAction_, &QAction::triggered, this, &TfrmDecoder::btnUndoClick);
  addAction(UndoAction_);
}

void TfrmDecoder::OfferNewestUndo() {
  const std::string journal = DefaultJournalPath();
  std::vector<TJournalRun> runs;
  // Without a journal, or with one that cannot be read, there is nothing to offer; the
  // journal's own failures are told where it is written.
  const bool read = !journal.empty() && ReadJournal(journal, runs).ok();
  ShowUndoOffer(read ? MostRecentRunToUndo(runs) : nullptr);
}

void TfrmDecoder::ShowUndoOffer(const TJournalRun* run) {
  UndoRunId_ = run ? run->Id : std::string();
  const QString tip = run ? UndoTip + QStringLiteral("\nNewest rename not undone: ") +
                                QString::fromStdString(run->Time + ", " + RunFileCount(*run))
                          : UndoTip;
  btnUndo->setToolTip(tip);
  UndoAction_->setToolTip(tip);
  btnUndo->setEnabled(!Busy_ && run);
}

void TfrmDecoder::btnUndoClick() {
  if (Busy_ || UndoRunId_.empty()) return;
  const std::string journal = DefaultJournalPath();
  std::vector<TJournalRun> runs;
  const TResult read = ReadJournal(journal, runs);
  const TJournalRun* run = read ? FindRun(runs, UndoRunId_) : nullptr;
  std::string summary;
  if (!run) {
    summary = read ? "the last rename is not in the undo journal" : journal + ": " + read.Message();
  } else if (run->Undone) {
    summary = "the last rename was already undone";
  } else {
    const TUndoOutcome outcome = UndoRun(*run, journal);
    Workflow_->FollowUndoneFiles(outcome.Rows);
    PlanRename();
    ShowRows();
    summary = UndoSummary(outcome);
  }
  ShowUndoOffer(nullptr);  // undone once; the next run or start offers again
  Progress_->Finish(QString::fromStdString(summary));
}
