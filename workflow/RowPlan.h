// What a rename or copy will do with one row, decided from the row alone before any file
// is touched. Whether the file still exists is checked when the row's turn comes.
#pragma once
#include <string>
#include <string_view>

#include "workflow/NameFormat.h"
#include "workflow/RowResult.h"

struct TFileRow;

struct TRowPlan {
  enum class TAction { Skip, Refuse, Act };
  TAction Action = TAction::Skip;
  std::string Target;  // set for Act only
  TRowResult Result;   // the row's result for Skip and Refuse
};

// How a run names its rows; the defaults name them as the file stores its creation time.
struct TPlanOptions {
  TNamingOptions Naming;
  bool SkipUnsetDates = false;  // rows whose date looks unset are skipped
};

// `folder` as RenameFolderOf or CopyFolderOf give it.
TRowPlan PlanRow(const TFileRow& row, std::string_view folder, const TPlanOptions& options = {});
