// Hands an I/O protocol of our own to avformat.
#pragma once
#include "FFLoad/LegacyEntryTypes.h"

// Registers `protocol` unless avformat already knows a protocol of the same name (compared
// exactly). True when avformat exports its protocol list and registration call, whether or
// not anything was registered; false, with nothing done, when it does not.
bool RegisterProtocol(ff::legacy::ProtocolRecord* protocol);
