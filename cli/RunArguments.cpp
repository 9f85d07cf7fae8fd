#include "cli/RunArguments.h"

#include "workflow/TimeZone.h"
#include "workflow/UndoJournal.h"

namespace {

// A zone option's zone; `ok` turns false, with `error` set, for a zone that is not known.
std::optional<TTimeZone> ZoneOption(const char* option, const std::string& name, bool& ok, std::string& error) {
  if (name.empty()) return std::nullopt;
  std::string problem;
  std::optional<TTimeZone> zone = TTimeZone::Find(name, &problem);
  if (!zone) {
    error = std::string(option) + ": " + (problem.empty() ? "unknown time zone '" + name + "'" : problem);
    ok = false;
  }
  return zone;
}

std::optional<TPlanOptions> PlanOptionsFrom(const TCliArguments& arguments, std::string& error) {
  TPlanOptions options;
  if (std::string problem = CheckNameFormat(arguments.Format); !problem.empty()) {
    error = "--format '" + arguments.Format + "': " + problem;
    return std::nullopt;
  }
  options.Naming.Format = arguments.Format;
  bool ok = true;
  // "recorded" is no zone name: each row's own recorded offset.
  options.Naming.TzRecorded = arguments.Tz == "recorded";
  if (!options.Naming.TzRecorded) options.Naming.Tz = ZoneOption("--tz", arguments.Tz, ok, error);
  if (ok) options.Naming.AssumeTz = ZoneOption("--assume-tz", arguments.AssumeTz, ok, error);
  if (!ok) return std::nullopt;
  options.SkipUnsetDates = arguments.SkipUnsetDates;
  options.SetMtime = arguments.SetMtime;
  return options;
}

}  // namespace

std::optional<TRunOptions> RunOptionsFrom(const TCliArguments& arguments, std::string& error) {
  std::optional<TPlanOptions> plan = PlanOptionsFrom(arguments, error);
  if (!plan) return std::nullopt;
  TRunOptions options;
  options.Plan = std::move(*plan);
  // --explain reads every source, so that the row lists every date the file holds.
  options.Lookup = {arguments.LookupPath, {arguments.DateFromName, arguments.DateFromMtime, arguments.Explain}};
  options.Workers = WorkerCount(arguments);
  options.UniqueNames = arguments.Unique;
  options.CopyReplaces = arguments.Replace;
  options.Companions = !arguments.NoCompanions;
  if (arguments.Command == TCliCommand::Rename) options.JournalPath = DefaultJournalPath();
  return options;
}
