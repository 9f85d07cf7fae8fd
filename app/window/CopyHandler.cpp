// "Copy file(s)": the folder first, then the plan in the list (what the copy would do, row by
// row, with its summary in the progress strip) and a question before anything is copied.
#include <QFileDialog>
#include <QMessageBox>

#include "window/CopyQuestion.h"
#include "window/FileNameText.h"
#include "window/MainWindow.h"
#include "window/ProgressStrip.h"
#include "workflow/RenamingWorkflow.h"

void TfrmDecoder::RzButton3Click() {
  const std::optional<QStringList> chosen = DialogRunner_(*RzSelectFolderDialog1);
  if (!chosen || chosen->isEmpty() || chosen->first().isEmpty()) return;
  RzSelectFolderDialog1->setDirectory(chosen->first());
  // With nothing listed there is nothing to plan or to copy.
  if (Workflow_->Rows().empty()) return;
  const std::string folder = FileNameBytes(chosen->first());
  RunWithProgress(TRunKind::PlanningCopy, [&] { Workflow_->CopyFiles(folder, TRunMode::DryRun); });
  if (!isVisible()) return;  // closed when the plan was done
  QMessageBox question(this);
  SetUpCopyQuestion(question, chosen->first(), Progress_->Summary());
  if (QuestionRunner_(question)) {
    RunWithProgress(TRunKind::Copying, [&] { Workflow_->CopyFiles(folder); });
    return;
  }
  // Not wanted: the list shows what a rename would do again.
  PlanRename();
  ShowRows();
  Progress_->Finish(QStringLiteral("copy cancelled: nothing copied"));
}
