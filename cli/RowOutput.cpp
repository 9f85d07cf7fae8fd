#include "cli/RowOutput.h"

#include "Text/Ascii.h"
#include "workflow/dates/TimeShift.h"
#include "workflow/rows/RowResultText.h"

namespace {

// A folder is a row only when -r was not given, since a walk gives files alone: the words
// of its result, which end in "(a folder)", also name the option that walks it.
std::string WithWalkHint(std::string text, const TRowResult& result) {
  if (result.Reason == TRowReason::Folder && !text.empty() && text.back() == ')') text.insert(text.size() - 1, ": use -r");
  return text;
}

}  // namespace

std::string OutputField(std::string_view field) {
  std::string result(field);
  for (char& character : result)
    if (text::IsAsciiControl(character)) character = ' ';
  return result;
}

std::string FormatListLine(const TFileRow& row, const std::string& plannedName, bool explain,
                           std::chrono::seconds shift) {
  std::string line = OutputField(row.FileName) + '\t' + OutputField(row.CreationTime) + '\t' + OutputField(plannedName);
  if (explain) {
    std::string source = row.CreationTimeSource;
    if (shift.count() && !source.empty()) source += ", shifted by " + TimeShiftText(shift);
    line += '\t' + OutputField(source) + '\t' + OutputField(row.CreationTimeRaw) + '\t';
    for (std::size_t index = 0; index < row.Dates.size(); ++index)
      line += (index ? "; " : "") + OutputField(row.Dates[index].Source) + " = " + OutputField(row.Dates[index].Text);
  }
  return line + '\n';
}

std::string FormatResultLine(const TFileRow& row) {
  return OutputField(row.FileName) + '\t' + OutputField(row.CreationTime) + '\t' + OutputField(row.NewFileName) +
         '\t' + OutputField(WithWalkHint(RowResultText(row.Result, row.DateLooksUnset), row.Result)) + '\n';
}

std::string CliReasonText(const TRowResult& result) { return WithWalkHint(RowReasonText(result), result); }
