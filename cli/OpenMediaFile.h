// Opening one named FILE for a command that reports on it (info, streams, frames, frame).
#pragma once
#include <ostream>
#include <string>

class TCustomDecoder;

// Opens FILE in the decoder. A pipe or a device is refused, because opening it would block
// for ever; folders and missing names are left to the libraries, whose message says what is
// wrong. On failure the reason goes to `err` (unless the decoder's stop ended the open)
// and the result is false.
bool OpenMediaFile(const std::string& fileName, TCustomDecoder& decoder, std::ostream& err);
