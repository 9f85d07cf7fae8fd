#include "workflow/ModificationTime.h"

#include <limits>

#include "platform/FileSystem.h"
#include "platform/Text.h"

std::optional<TMtimeNotSet> MtimeNotSetOf(const std::string& fileName, std::int64_t wanted, std::string setError) {
  if (!setError.empty()) return TMtimeNotSet{std::move(setError), 0, 0};
  platform::FileStatus status;
  if (!platform::GetFileStatus(platform::NarrowToWide(fileName), status)) return std::nullopt;
  // A time at either end of the nanoseconds' range (1677 to 2262) is one outside it: what
  // the file holds then is not known to the microsecond.
  if (status.modifiedNanoseconds == std::numeric_limits<std::int64_t>::max() ||
      status.modifiedNanoseconds == std::numeric_limits<std::int64_t>::min())
    return std::nullopt;
  // Floor division: a time before 1970 is not moved up by a fraction.
  std::int64_t kept = status.modifiedNanoseconds / 1000;
  if (status.modifiedNanoseconds % 1000 < 0) --kept;
  if (kept > wanted - MtimeStepMicroseconds && kept < wanted + MtimeStepMicroseconds) return std::nullopt;
  return TMtimeNotSet{{}, wanted, kept};
}

std::optional<TMtimeNotSet> GiveModificationTime(const std::string& fileName, std::int64_t wanted) {
  std::string error;
  platform::SetModificationTime(platform::NarrowToWide(fileName), wanted, error);
  return MtimeNotSetOf(fileName, wanted, std::move(error));
}
