// The exit statuses of morvane-cli, each with one meaning, so that scripts can tell a
// mistake on the command line from a machine that lacks something.
#pragma once

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;      // a file could not be done, read or written
inline constexpr int ExitUsage = 2;        // the command line is wrong
inline constexpr int ExitNoLibraries = 3;  // the media libraries cannot be loaded
inline constexpr int ExitNoCopyFolder = 4; // the copy's folder is not there or not a folder
