// The one way morvane-cli words a message on standard error.
#pragma once
#include <iosfwd>
#include <string_view>

// Writes "morvane-cli: SUBJECT: TEXT" (without a subject "morvane-cli: TEXT") and a line
// break. Control characters in both become blanks, as in the rows, so that nothing of a
// file's name reaches the terminal as a command.
void Diagnose(std::ostream& err, std::string_view subject, std::string_view text);
