// What a test needs of the system it runs on beyond what every system here has. A test
// that lacks it skips itself, naming the need, so that each system runs every test it can
// and the tests left out are counted by need (scripts/test-windows.sh).
#pragma once
#include <gtest/gtest.h>

#include <string>

enum class TNeed {
  SymbolicLinks,     // found by making one
  Fifos,
  PosixSignals,      // stops by POSIX signals at chosen moments
  Terminals,         // pseudo-terminals
  ResourceLimits,    // limits a process sets for itself (file size)
  MountNamespaces,   // a private view of the file systems
  DevFull,           // a device whose every write fails for want of space
  PosixNames,        // names with \ * ? < > | or control characters
  PosixPathLimits,   // the POSIX limits of names and paths
  PosixErrorTexts,   // the POSIX texts of the system's errors
  PosixPermissions,  // permission bits that keep a file from a second user, or its owner
};

// Empty when the system has `need`; else what is missing, for the skip message.
std::string Missing(TNeed need);
// Empty when the media libraries hold the encoder or decoder of that name; else what is missing.
std::string MissingEncoder(const char* name);
std::string MissingDecoder(const char* name);
std::string MissingMuxer(const char* name);

// Skips the test with "needs WHAT" when `missing` (one of the above) is not empty.
#define MORVANE_NEEDS(missing)                                                         \
  if (const std::string morvaneMissing = (missing); !morvaneMissing.empty()) \
  GTEST_SKIP() << "needs " << morvaneMissing
