// The lines that morvane-cli writes for the rows: fields separated by tabs, one line per row.
#pragma once
#include <chrono>
#include <string>
#include <string_view>

#include "workflow/RenamingWorkflow.h"

// The field as written: every control character inside it (tab, CR, LF, ESC, ...) becomes a
// blank, so that every row stays one line with a fixed number of fields and nothing in a
// file's name or metadata reaches the terminal as a command.
std::string OutputField(std::string_view field);

// path, creation time, the name a rename would give; with `explain` also where the
// creation time came from, the raw text it was read from, and every date the file holds
// ("SOURCE = TEXT; SOURCE = TEXT"); the source ends in ", shifted by +HH:MM:SS" when the
// name takes the time shifted by `shift`.
std::string FormatListLine(const TFileRow& row, const std::string& plannedName, bool explain = false,
                           std::chrono::seconds shift = {});
// path, creation time, new name, result.
std::string FormatResultLine(const TFileRow& row);
// Why a row was skipped, as the command line says it: a folder also says how to take the
// files below it ("not a regular file (a folder: use -r)").
std::string CliReasonText(const TRowResult& result);
