// The exit statuses of morvane-cli.
#pragma once

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsageOrLibraries = 2;
