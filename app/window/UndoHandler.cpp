// "Undo last rename": puts the window's last rename run back through the undo journal, as
// morvane-cli undo does, and shows the rows where their files are then.
#include <QAction>

#include "window/FileListView.h"
#include "window/MainWindow.h"
#include "window/ProgressStrip.h"
#include "window/RunSummary.h"
#include "window/StyledButton.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/UndoJournal.h"
#include "workflow/UndoRun.h"

void TfrmDecoder::MakeUndo() {
  btnUndo = new TStyledButton(QStringLiteral("Undo last rename"), this);
  btnUndo->setObjectName(QStringLiteral("btnUndo"));
  btnUndo->setGeometry(UndoButtonPlace);
  btnUndo->setToolTip(QStringLiteral("Put the files of the last rename back (Ctrl+Z)"));
  btnUndo->setEnabled(false);
  connect(btnUndo, &QPushButton::clicked, this, &TfrmDecoder::btnUndoClick);

  auto* action = new QAction(QStringLiteral("Undo last rename"), this);
  action->setObjectName(QStringLiteral("actUndo"));
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  action->setShortcutContext(Qt::WindowShortcut);
  connect(action, &QAction::triggered, this, &TfrmDecoder::btnUndoClick);
  addAction(action);
}

void TfrmDecoder::btnUndoClick() {
  if (Busy_ || UndoRunId_.empty()) return;
  const std::string journal = DefaultJournalPath();
  std::vector<TJournalRun> runs;
  std::string error;
  const TJournalRun* run = ReadJournal(journal, runs, error) ? FindRun(runs, UndoRunId_) : nullptr;
  std::string summary;
  if (!run) {
    summary = error.empty() ? "the last rename is not in the undo journal" : journal + ": " + error;
  } else if (run->Undone) {
    summary = "the last rename was already undone";
  } else {
    const TUndoOutcome outcome = UndoRun(*run, journal);
    Workflow_->FollowUndoneFiles(outcome.Rows);
    PlanRename();
    ShowRows();
    summary = UndoSummary(outcome);
  }
  UndoRunId_.clear();
  btnUndo->setEnabled(false);
  Progress_->Finish(QString::fromStdString(summary));
}
