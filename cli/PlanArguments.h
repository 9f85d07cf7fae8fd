// Turns the naming options of a command line (--format, --tz, --assume-tz,
// --skip-unset-dates) into the workflow's plan options.
#pragma once
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "workflow/RowPlan.h"

// Nothing, with `error` set, for a pattern with a field that cannot stand or a zone the
// system's zone database does not hold.
std::optional<TPlanOptions> PlanOptionsFrom(const TCliArguments& arguments, std::string& error);
