// The user's naming options as the user gave them, before they are checked: the command
// line's --format, --tz, --assume-tz, --shift, --shift-for, --skip-unset-dates, --set-mtime, --date-from-name,
// --date-from-mtime, --unique, --replace and --no-companions, and the same choices of the
// window's naming options. One function turns them into run options, so that both front
// ends take the same words the same way.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "workflow/options/RunOptions.h"

struct TNamingRequest {
  std::string Format;    // empty: the creation time as the file stores it
  std::string Tz;        // a zone name, "local", "recorded" (each row's own recorded offset), or empty
  std::string AssumeTz;  // a zone name or "local"; empty: times without zone are read as written
  std::string Shift;     // "[+|-][D ]HH:MM[:SS]" added to every date; empty: none
  std::vector<std::string> ShiftFor;  // "MODEL=AMOUNT": the shift of that camera model's files
  bool SkipUnsetDates = false;
  bool SetMtime = false;
  bool DateFromName = false;
  bool DateFromMtime = false;
  bool Unique = false;
  bool Replace = false;
  bool Companions = true;
};

// Which option of a request cannot stand, and why; each front end words it its own way.
struct TNamingProblem {
  enum class TOption { Format, Tz, AssumeTz, Shift, ShiftFor };
  TOption Option = TOption::Format;
  std::string Why;
};

// The run options of `request`; lookup path, workers and journal stay at their defaults
// for the caller to set. Nothing, with `problem` set, for a pattern with a field that
// cannot stand, a zone the system's zone database does not hold, or a shift that is not
// an amount (ParseTimeShift; a --shift-for without "=" or without a model).
std::optional<TRunOptions> RunOptionsOf(const TNamingRequest& request, TNamingProblem& problem);
