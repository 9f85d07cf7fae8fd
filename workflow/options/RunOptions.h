// The settings of a renaming run as one value: how files are looked up, how new names are
// made, and what a rename or copy does with a name that is taken.
#pragma once
#include <string>

#include "workflow/lookup/LookupOptions.h"
#include "workflow/naming/RowPlan.h"

// A real run changes files; a dry run plans every row with the same checks, reports what a
// real run would do ("would rename") and changes nothing on disk.
enum class TRunMode { Real, DryRun };

struct TRunOptions {
  // How creation times are read.
  TLookupOptions Lookup;
  // Above 1, files (a single one too) are looked up on that many worker threads, each with
  // a decoder and a line buffer of its own (the rows still come in the given order), and a
  // copy writes that many files at once.
  unsigned Workers = 1;
  // How new names are made from the creation times (pattern and zones) and which rows are
  // skipped. The defaults keep the stored creation time as name.
  TPlanOptions Plan;
  // A rename or copy whose target exists, or was written by an earlier row of the run,
  // takes the target with "_1", "_2", ... before its extension, the first free one; the
  // no-replace move or copy decides, so nothing is ever replaced. Off: a rename fails on an
  // existing target, and a copy does what CopyReplaces says.
  bool UniqueNames = false;
  // A copy whose target name holds the same bytes is skipped in every case. One whose
  // target holds a different file fails and keeps that file, unless UniqueNames is on, or
  // unless this is: then it replaces that file.
  bool CopyReplaces = false;
  // A rename or copy takes each file's companions (sidecars, a Live Photo's clip; see
  // Companions.h) along under the same new base name, all or none of them with the file:
  // when a companion's new name is taken, the row fails and nothing moves. A row whose file
  // is a companion of another row's file that is due goes with it and is skipped itself.
  // Renamed companions enter the undo journal.
  bool Companions = true;
  // Not empty: every real rename run that renames at least one file appends its renamed
  // rows (old and new full path) to the undo journal there (as DefaultJournalPath gives
  // it). The journal never stops or fails a rename.
  std::string JournalPath;
};
