// The lines that morvane-cli writes for the rows: fields separated by tabs, one line per row.
#pragma once
#include <string>
#include <string_view>

#include "workflow/RenamingWorkflow.h"

// The field as written: a tab, CR or LF inside it becomes a blank, so that every row stays
// one line with a fixed number of fields.
std::string OutputField(std::string_view field);

// path, creation time, the name a rename would give.
std::string FormatListLine(const TFileRow& row, const std::string& plannedName);
// path, creation time, new name, result.
std::string FormatResultLine(const TFileRow& row);
