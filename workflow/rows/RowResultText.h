// The words of a row's result as the window's "Result" column and morvane-cli show them.
// Programs parse them: keep them as they are.
#pragma once
#include <string>

#include "workflow/rows/RowResult.h"

// "renamed", "copied", "copied (replaced an existing file)", "skipped: REASON",
// "failed: REASON"; a dry run's "would rename", "would copy", "would copy (replacing an
// existing file)". A done row whose file did not take its modification time adds
// " (modification time not set: REASON)", REASON being the system's message or "the file
// system holds TIME at most" ("at the earliest"). Companions that went with the file follow
// as " (with A, B)"; a copy skipped because its bytes were there already that copied its
// companions says "skipped: already copied (copied its companions A, B)" ("would copy its
// companions" in a dry run). Empty before any rename or copy.
std::string RowResultText(const TRowResult& result);
// The reason alone, without "skipped: " or "failed: " ("file not found").
std::string RowReasonText(const TRowResult& result);
// The result as a row shows it: a done row whose date looks unset says so after its result
// ("would rename (date looks unset)").
std::string RowResultText(const TRowResult& result, bool dateLooksUnset);
