// What a rename or copy will do with one row, decided from the row alone before any file
// is touched. Whether the file still exists is checked when the row's turn comes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "workflow/naming/NameFormat.h"
#include "workflow/rows/RowResult.h"

struct TFileRow;

struct TRowPlan {
  enum class TAction { Skip, Refuse, Act };
  TAction Action = TAction::Skip;
  std::string Target;  // set for Act only
  std::string Folder;  // the folder the new name must stay in (and below), for Act
  // With SetMtime: the creation time as microseconds since 1970, for the file's new
  // modification time.
  std::optional<std::int64_t> Mtime;
  TRowResult Result;   // the row's result for Skip and Refuse
};

// How a run names its rows; the defaults name them as the file stores its creation time.
struct TPlanOptions {
  TNamingOptions Naming;
  bool SkipUnsetDates = false;  // rows whose date looks unset are skipped
  // Renamed and copied files take their creation time as modification time; a row whose
  // creation time cannot be read as a moment is skipped.
  bool SetMtime = false;
};

// `folder` as RenameFolderOf or CopyFolderOf give it; `counter` the row's place in the run,
// counted from 1 (%{counter}).
TRowPlan PlanRow(const TFileRow& row, std::string_view folder, const TPlanOptions& options = {},
                 std::size_t counter = 1);
