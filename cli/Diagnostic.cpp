#include "cli/Diagnostic.h"

#include <ostream>

#include "cli/RowOutput.h"

void Diagnose(std::ostream& err, std::string_view subject, std::string_view text) {
  err << "morvane-cli: ";
  if (!subject.empty()) err << OutputField(subject) << ": ";
  err << OutputField(text) << '\n';
}
