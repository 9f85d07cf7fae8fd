#include "cli/RowOutput.h"

#include "Text/Ascii.h"
#include "workflow/RowResultText.h"

std::string OutputField(std::string_view field) {
  std::string result(field);
  for (char& character : result)
    if (text::IsAsciiControl(character)) character = ' ';
  return result;
}

std::string FormatListLine(const TFileRow& row, const std::string& plannedName, bool explain) {
  std::string line = OutputField(row.FileName) + '\t' + OutputField(row.CreationTime) + '\t' + OutputField(plannedName);
  if (explain) {
    line += '\t' + OutputField(row.CreationTimeSource) + '\t' + OutputField(row.CreationTimeRaw) + '\t';
    for (std::size_t index = 0; index < row.Dates.size(); ++index)
      line += (index ? "; " : "") + OutputField(row.Dates[index].Source) + " = " + OutputField(row.Dates[index].Text);
  }
  return line + '\n';
}

std::string FormatResultLine(const TFileRow& row) {
  return OutputField(row.FileName) + '\t' + OutputField(row.CreationTime) + '\t' + OutputField(row.NewFileName) +
         '\t' + OutputField(RowResultText(row.Result, row.DateLooksUnset)) + '\n';
}
