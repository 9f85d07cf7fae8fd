#include "workflow/RenamingWorkflow.h"

#include "workflow/CopyRun.h"
#include "workflow/CreationTimeText.h"
#include "Text/Trim.h"
#include "FFDecode/CustomDecoder.h"
#include "workflow/NewFileName.h"
#include "Paths/PathHelpers.h"
#include "workflow/RowPlan.h"
#include "workflow/RowResult.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

TRenamingWorkflow::TRenamingWorkflow(TCustomDecoder& decoder, ILineBuffer& lines)
    : Decoder_(decoder), Lines_(lines) {}

bool TRenamingWorkflow::LibrariesLoaded() const { return Decoder_.LibrariesLoaded(); }

bool TRenamingWorkflow::EnsureLibraries() {
  if (Decoder_.LibrariesLoaded()) return true;
  if (Decoder_.LoadLibraries(GetExeFolder() + u"LibAV")) return true;
  LibraryError_ = Decoder_.LastErrMsg();
  return false;
}

std::string TRenamingWorkflow::GetCreationTime(const std::string& fileName) {
  Lines_.Clear();
  if (!EnsureLibraries()) return {};
  if (!FileExists(fileName)) return {};
  if (!Decoder_.LoadFile(platform::NarrowToWide(fileName))) return {};
  // " : " never spans a line break, so replacing before the one split gives the lines that
  // splitting, joining and splitting again would give.
  Lines_.SetText(ReplaceAll(text::TrimControls(Decoder_.FileInfoText()), " : ", " = "));
  Decoder_.CloseFile();
  return FindKeyValue(Lines_, CreationTimeKey);
}

void TRenamingWorkflow::SelectFiles(const std::vector<std::string>& fileNames) {
  Rows_.clear();
  Rows_.reserve(fileNames.size());
  for (std::size_t index = 0; index < fileNames.size(); ++index) {
    ReportProgress(index, fileNames.size(), fileNames[index]);
    Rows_.push_back(TFileRow{fileNames[index], {}, {}, {}});
    Rows_.back().CreationTime = text::TrimControls(GetCreationTime(fileNames[index]));
  }
}

std::string TRenamingWorkflow::PlannedRenameName(const TFileRow& row) const {
  return PlanRow(row, RenameFolderOf(row.FileName)).Target;
}

void TRenamingWorkflow::RenameFiles() {
  std::vector<TRowPlan> plans;
  plans.reserve(Rows_.size());
  for (const TFileRow& row : Rows_) plans.push_back(PlanRow(row, RenameFolderOf(row.FileName)));
  ApplyPlans(plans, [](const TFileRow& row, const std::string& target) {
    std::string error;
    return platform::MoveFileNoReplace(platform::NarrowToWide(row.FileName), platform::NarrowToWide(target), error)
               ? rowresult::Done(TRowReason::Renamed)
               : rowresult::Failed(TRowReason::System, error);
  });
}

void TRenamingWorkflow::CopyFiles(const std::string& folder) {
  const std::string targetFolder = CopyFolderOf(folder);
  std::vector<TRowPlan> plans;
  plans.reserve(Rows_.size());
  for (const TFileRow& row : Rows_) plans.push_back(PlanRow(row, targetFolder));
  TCopyRun run;
  ApplyPlans(plans, [&run](const TFileRow& row, const std::string& target) { return run.Copy(row.FileName, target); });
}

void TRenamingWorkflow::ApplyPlans(const std::vector<TRowPlan>& plans, const TRowOperation& operation) {
  for (std::size_t index = 0; index < Rows_.size(); ++index) {
    TFileRow& row = Rows_[index];
    const TRowPlan& plan = plans[index];
    ReportProgress(index, Rows_.size(), row.FileName);
    // Checked at the row's turn: an earlier row of the same run may have moved this file.
    if (!FileExists(row.FileName)) {
      row.Result = rowresult::Skipped(TRowReason::NotFound);
    } else if (plan.Action != TRowPlan::TAction::Act) {
      row.Result = plan.Result;
    } else {
      row.NewFileName = plan.Target;
      row.Result = operation(row, plan.Target);
    }
  }
}

void TRenamingWorkflow::ReportProgress(std::size_t index, std::size_t count, const std::string& fileName) const {
  if (OnProgress) OnProgress(index, count, fileName);
}
