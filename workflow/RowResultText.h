// The words of a row's result as the window's "Result" column and morvane-cli show them.
// Programs parse them: keep them as they are.
#pragma once
#include <string>

#include "workflow/RowResult.h"

// "renamed", "copied", "skipped: REASON", "failed: REASON"; empty before any rename or copy.
std::string RowResultText(const TRowResult& result);
