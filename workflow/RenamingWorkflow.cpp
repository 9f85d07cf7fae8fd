#include "workflow/RenamingWorkflow.h"

#include <functional>
#include <iterator>
#include <map>
#include <unordered_set>

#include "workflow/files/Companions.h"
#include "workflow/run/CopyRows.h"
#include "workflow/lookup/LookupPool.h"
#include "workflow/naming/NewFileName.h"
#include "workflow/naming/RowPlan.h"

TRenamingWorkflow::TRenamingWorkflow(TCustomDecoder& decoder, ILineBuffer& lines) : Lookup_(decoder, lines) {}

void TRenamingWorkflow::SetStopFlag(const std::atomic<bool>* stop) {
  Stop_ = stop;
  Lookup_.SetStopFlag(stop);
}

TCreationTimeLookup& TRenamingWorkflow::Lookup() {
  Lookup_.Options = Options_.Lookup;
  return Lookup_;
}

bool TRenamingWorkflow::LibrariesLoaded() const { return Lookup_.LibrariesLoaded(); }

bool TRenamingWorkflow::EnsureLibraries() { return Lookup().EnsureLibraries(); }

std::string TRenamingWorkflow::GetCreationTime(const std::string& fileName) {
  return Lookup().GetCreationTime(fileName);
}

TFileRow TRenamingWorkflow::LookUpRow(const std::string& fileName) { return Lookup().LookUpRow(fileName); }

void TRenamingWorkflow::SelectFiles(const std::vector<std::string>& fileNames) {
  Rows_.clear();
  ReadRows(fileNames);
}

std::size_t TRenamingWorkflow::AddFiles(const std::vector<std::string>& fileNames) {
  std::unordered_set<std::string> listed;
  for (const TFileRow& row : Rows_) listed.insert(row.FileName);
  std::vector<std::string> unlisted;
  for (const std::string& name : fileNames)
    if (listed.insert(name).second) unlisted.push_back(name);
  ReadRows(unlisted);
  return unlisted.size();
}

void TRenamingWorkflow::ReadRows(const std::vector<std::string>& fileNames) {
  WorkerShortfall_.clear();
  if (Options_.Workers > 1 && !fileNames.empty()) {
    std::vector<TFileRow> rows = LookUpRowsOnWorkers(fileNames, Options_.Workers, Options_.Lookup, OnProgress, Stop_,
                                                     &WorkerShortfall_, OnRowRead);
    Rows_.insert(Rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    return;
  }
  Rows_.reserve(Rows_.size() + fileNames.size());
  for (std::size_t index = 0; index < fileNames.size() && !StopRequested(); ++index) {
    if (OnProgress) OnProgress(index, fileNames.size(), fileNames[index]);
    TFileRow row = Lookup().LookUpRow(fileNames[index]);
    // A lookup that the stop cut short has no true row.
    if (StopRequested()) break;
    Rows_.push_back(std::move(row));
    if (OnRowRead) OnRowRead(Rows_.back());
  }
}

std::string TRenamingWorkflow::PlannedRenameName(const TFileRow& row) const {
  // %{counter} counts the rows in their order; a row from elsewhere counts as the first.
  const std::less<const TFileRow*> before;
  const bool ours = !Rows_.empty() && !before(&row, Rows_.data()) && before(&row, Rows_.data() + Rows_.size());
  const std::size_t counter = ours ? static_cast<std::size_t>(&row - Rows_.data()) + 1 : 1;
  return PlanRow(row, RenameFolderOf(row.FileName), Options_.Plan, counter).Target;
}

std::vector<std::string> TRenamingWorkflow::PlannedRenameNames() const {
  std::vector<std::string> names;
  std::map<std::string, std::size_t> rowOfFile;
  for (std::size_t index = 0; index < Rows_.size(); ++index) {
    names.push_back(PlannedRenameName(Rows_[index]));
    rowOfFile.emplace(Rows_[index].FileName, index);
  }
  if (!Options_.Companions) return names;
  TCompanionFinder finder;
  // A companion is never media with companions of its own, so the order does not matter.
  for (std::size_t index = 0; index < Rows_.size(); ++index) {
    if (names[index].empty()) continue;
    for (const std::string& companion : finder.Find(Rows_[index].FileName))
      if (const auto row = rowOfFile.find(companion); row != rowOfFile.end())
        names[row->second] = CompanionTarget(companion, Rows_[index].FileName, names[index]);
  }
  return names;
}

void TRenamingWorkflow::RenameFiles(TRunMode mode) {
  const TRenameOutcome outcome = RenameRows(Rows_, Options_, mode, Events());
  // A dry run journals nothing and keeps the id of the last real run's journal.
  if (mode == TRunMode::Real) LastRename_ = outcome;
  else LastRename_.JournalFailure.clear();
}

void TRenamingWorkflow::CopyFiles(const std::string& folder, TRunMode mode) {
  LastCopy_ = CopyRows(Rows_, folder, Options_, mode, Events());
}
