// The inspection commands of morvane-cli: streams, frames and frame. They drive the frame
// decoder directly, as the window's media tools do.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

class TFFDecoder;

// True when the command line names one of the inspection commands.
bool IsInspectCommand(const std::vector<std::string>& arguments);

// `arguments` without the program name. Returns the exit status.
int RunInspectCommand(const std::vector<std::string>& arguments, TFFDecoder& decoder, std::ostream& out,
                      std::ostream& err);
