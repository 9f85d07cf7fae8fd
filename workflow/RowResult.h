// The texts of a row's "Result" column. Programs parse them: keep them as they are.
#pragma once
#include <string>
#include <string_view>

namespace rowresult {

inline constexpr std::string_view Renamed = "renamed";
inline constexpr std::string_view Copied = "copied";
inline constexpr std::string_view FailedPrefix = "failed: ";
inline constexpr std::string_view SkippedNotFound = "skipped: file not found";
inline constexpr std::string_view SkippedNoCreationTime = "skipped: no creation time";

inline constexpr std::string_view InvalidName = "creation time is not a valid file name";
inline constexpr std::string_view SameFile = "source and target are the same file";
inline constexpr std::string_view WrittenEarlier = "target was written by an earlier file of this copy";

inline std::string Failed(std::string_view reason) { return std::string(FailedPrefix) + std::string(reason); }
inline bool IsFailure(std::string_view result) { return result.starts_with(FailedPrefix); }

}  // namespace rowresult
