// With SetMtime a renamed or copied file takes its creation time as modification time. The
// system may refuse it (another user's file) or clamp it without an error (a time beyond
// what the file system holds): the rename or copy stands either way, and its row tells.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "workflow/rows/RowResult.h"

// The coarsest step in which file systems keep modification times (FAT: two seconds). A
// time read back that is less than this away from the one set was kept.
inline constexpr std::int64_t MtimeStepMicroseconds = 2000000;

// Why `fileName` does not hold `wanted` (microseconds since 1970, UTC) after the system
// set it, failing with `setError`, or succeeding (`setError` empty): then the time is read
// back. Nothing when the file holds it, or when what it holds cannot be read.
std::optional<TMtimeNotSet> MtimeNotSetOf(const std::string& fileName, std::int64_t wanted, std::string setError);

// Sets the modification time of `fileName` to `wanted` and tells as MtimeNotSetOf does.
std::optional<TMtimeNotSet> GiveModificationTime(const std::string& fileName, std::int64_t wanted);
