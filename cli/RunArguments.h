// Turns the options of a list, rename or copy command line into the workflow's run options:
// the naming options (--format, --tz, --assume-tz, --skip-unset-dates, --set-mtime), how
// files are looked up, and what is done with taken names and companions.
#pragma once
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "workflow/options/RunOptions.h"

// Nothing, with `error` set, for a pattern with a field that cannot stand or a zone the
// system's zone database does not hold. A rename keeps the undo journal.
std::optional<TRunOptions> RunOptionsFrom(const TCliArguments& arguments, std::string& error);
