// The settings of the window's runs, made in one place: the user's naming choice, and what
// the window always does: header-first lookups on worker threads, as morvane-cli reads, and
// renames written to the undo journal.
#pragma once
#include <string>

#include "window/NamingChoice.h"
#include "workflow/options/RunOptions.h"

// `journalPath`: where the undo journal is at the time of the run (DefaultJournalPath).
// A remembered choice that no longer stands (a zone gone from the system) names as stored;
// its other choices hold.
TRunOptions WindowRunOptions(const TNamingChoice& naming, std::string journalPath);
