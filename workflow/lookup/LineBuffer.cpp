#include "workflow/lookup/LineBuffer.h"

std::vector<std::string> SplitIntoLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lineBreak = text.find_first_of("\r\n", start);
    if (lineBreak == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, lineBreak - start));
    start = lineBreak + 1;
    if (text[lineBreak] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    if (index > 0) text += '\n';
    text += lines[index];
  }
  return text;
}
