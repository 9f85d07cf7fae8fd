// Whether two files hold the same bytes: the sizes first, then the contents block by block.
#pragma once
#include <string>

// True when both files can be read and hold the same bytes; false otherwise (a file that
// cannot be read is never taken for a copy of another).
bool HoldSameBytes(const std::string& first, const std::string& second);
