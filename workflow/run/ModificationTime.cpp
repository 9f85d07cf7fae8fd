#include "workflow/run/ModificationTime.h"

#include <limits>

#include "platform/FileSystem.h"

std::optional<TMtimeNotSet> MtimeNotSetOf(const std::string& fileName, std::int64_t wanted, std::string setError) {
  if (!setError.empty()) return TMtimeNotSet{std::move(setError), 0, 0};
  platform::FileStatus status;
  if (!platform::GetFileStatus(fileName, status)) return std::nullopt;
  // Microseconds in 64 bits reach 292,000 years either way: a time beyond is not held.
  constexpr std::int64_t Farthest = std::numeric_limits<std::int64_t>::max() / 1000000 - 1;
  if (status.modified.seconds > Farthest || status.modified.seconds < -Farthest) return std::nullopt;
  const std::int64_t kept = status.modified.seconds * 1000000 + status.modified.nanoseconds / 1000;
  if (kept > wanted - MtimeStepMicroseconds && kept < wanted + MtimeStepMicroseconds) return std::nullopt;
  return TMtimeNotSet{{}, wanted, kept};
}

std::optional<TMtimeNotSet> GiveModificationTime(const std::string& fileName, std::int64_t wanted) {
  const auto set = platform::SetModificationTime(fileName, wanted);
  return MtimeNotSetOf(fileName, wanted, set.Message());
}
