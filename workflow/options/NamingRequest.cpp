#include "workflow/options/NamingRequest.h"

#include "workflow/naming/NameFormat.h"
#include "workflow/dates/TimeShift.h"
#include "workflow/dates/TimeZone.h"

namespace {

// The zone named `name` (none for an empty name); false, with `problem` set, when there is
// no zone by that name.
bool FindZone(TNamingProblem::TOption option, const std::string& name, std::optional<TTimeZone>& zone,
              TNamingProblem& problem) {
  if (name.empty()) return true;
  std::string why;
  zone = TTimeZone::Find(name, &why);
  if (zone) return true;
  problem = {option, why.empty() ? "unknown time zone '" + name + "'" : why};
  return false;
}

// The shifts of `request` into `naming`; false, with `problem` set, for one that cannot stand.
bool ReadShifts(const TNamingRequest& request, TNamingOptions& naming, TNamingProblem& problem) {
  std::string why;
  if (!request.Shift.empty()) {
    const std::optional<std::chrono::seconds> shift = ParseTimeShift(request.Shift, why);
    if (!shift) {
      problem = {TNamingProblem::TOption::Shift, why};
      return false;
    }
    naming.Shift = *shift;
  }
  for (const std::string& entry : request.ShiftFor) {
    const std::size_t equals = entry.rfind('=');
    if (equals == std::string::npos || equals == 0) {
      problem = {TNamingProblem::TOption::ShiftFor, "'" + entry + "' is not MODEL=AMOUNT"};
      return false;
    }
    const std::optional<std::chrono::seconds> shift = ParseTimeShift(entry.substr(equals + 1), why);
    if (!shift) {
      problem = {TNamingProblem::TOption::ShiftFor, why};
      return false;
    }
    naming.ShiftForModel.emplace_back(entry.substr(0, equals), *shift);
  }
  return true;
}

}  // namespace

std::optional<TRunOptions> RunOptionsOf(const TNamingRequest& request, TNamingProblem& problem) {
  TRunOptions options;
  if (std::string why = CheckNameFormat(request.Format); !why.empty()) {
    problem = {TNamingProblem::TOption::Format, std::move(why)};
    return std::nullopt;
  }
  TNamingOptions& naming = options.Plan.Naming;
  naming.Format = request.Format;
  // "recorded" is no zone name: each row's own recorded offset.
  naming.TzRecorded = request.Tz == "recorded";
  if (!naming.TzRecorded && !FindZone(TNamingProblem::TOption::Tz, request.Tz, naming.Tz, problem))
    return std::nullopt;
  if (!FindZone(TNamingProblem::TOption::AssumeTz, request.AssumeTz, naming.AssumeTz, problem)) return std::nullopt;
  if (!ReadShifts(request, naming, problem)) return std::nullopt;
  options.Plan.SkipUnsetDates = request.SkipUnsetDates;
  options.Plan.SetMtime = request.SetMtime;
  options.Lookup.Fallbacks.FromName = request.DateFromName;
  options.Lookup.Fallbacks.FromMtime = request.DateFromMtime;
  options.UniqueNames = request.Unique;
  options.CopyReplaces = request.Replace;
  options.Companions = request.Companions;
  return options;
}
