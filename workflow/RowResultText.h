// The words of a row's result as the window's "Result" column and morvane-cli show them.
// Programs parse them: keep them as they are.
#pragma once
#include <string>

#include "workflow/RowResult.h"

// "renamed", "copied", "copied (replaced an existing file)", "skipped: REASON",
// "failed: REASON"; a dry run's "would rename", "would copy", "would copy (replacing an
// existing file)". A done row whose file did not take its modification time adds
// " (modification time not set: REASON)", REASON being the system's message or "the file
// system holds TIME at most" ("at the earliest"). Empty before any rename or copy.
std::string RowResultText(const TRowResult& result);
// The reason alone, without "skipped: " or "failed: " ("file not found").
std::string RowReasonText(const TRowResult& result);
// The result as a row shows it: a done row whose date looks unset says so after its result
// ("would rename (date looks unset)").
std::string RowResultText(const TRowResult& result, bool dateLooksUnset);
