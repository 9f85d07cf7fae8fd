// The command line of morvane-cli: a command, the lookup options of list, rename and copy
// right behind it, then its operands. Any other argument that follows the command is an
// operand, also when it begins with "-".
#pragma once
#include <string>
#include <vector>

#include "LookupOptions.h"

enum class TCliCommand { Help, List, Rename, Copy, Info };

struct TCliArguments {
  TCliCommand Command = TCliCommand::Help;
  std::string Folder;               // copy only
  std::vector<std::string> Files;  // one for info, one or more for the others
  TLookupOptions Lookup;            // list, rename and copy
};

struct TParsedCommandLine {
  bool Valid = false;
  TCliArguments Arguments;
  std::string Error;  // what is wrong, when not valid
};

// `arguments` without the program name.
TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);
