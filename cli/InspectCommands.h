// The inspection commands of morvane-cli: streams, frames and frame. They drive the frame
// decoder directly, as the window's media tools do.
#pragma once
#include <iosfwd>

struct TCliArguments;
class TFFDecoder;

// Runs the inspection command of `arguments`. Returns the exit status.
int RunInspectCommand(const TCliArguments& arguments, TFFDecoder& decoder, std::ostream& out, std::ostream& err);
