// The "unicode" I/O protocol: opens the file named by a "unicode:utf8:" address through the
// platform's UTF-16 file interface.
#pragma once
#include "UnicodeProtocol/ProtocolRecord.h"

// The process-wide protocol record. It is not const because the libraries link it into
// their protocol list when it is registered.
ff::legacy::ProtocolRecord& UnicodeFileProtocol();
