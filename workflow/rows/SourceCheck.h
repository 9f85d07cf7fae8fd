// Whether a row's file can be handled as a source right now.
#pragma once
#include <string>

#include "workflow/rows/RowResult.h"

// Kind None for an existing regular file; otherwise the skip that the row gets: file not
// found, a folder, not a regular file (a pipe, socket or device), or cannot read with the
// system's message (no access to its folder, a name too long for the system).
TRowResult CheckSource(const std::string& fileName);
