#include "platform/LocalTime.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Win32Support.h"

namespace platform {

bool CurrentLocalTime(TimeOfDay& time) {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  time.hour = local.wHour;
  time.minute = local.wMinute;
  time.second = local.wSecond;
  time.millisecond = local.wMilliseconds;
  return true;
}

// The zone of the system's settings, with the rules of the moment's own year where the
// settings keep rules per year.
bool LocalTimeAt(std::int64_t unixSeconds, LocalCivilTime& time) {
  // The system's times run from 1601 to the year 30827.
  constexpr std::int64_t First = -11644473600, Last = 910692730085;
  if (unixSeconds < First || unixSeconds > Last) return false;
  const FILETIME universalTime = win32::FileTimeOfMicroseconds(unixSeconds * 1000000);
  SYSTEMTIME universal{}, local{};
  if (!::FileTimeToSystemTime(&universalTime, &universal)) return false;
  TIME_ZONE_INFORMATION zone{};
  if (!::GetTimeZoneInformationForYear(universal.wYear, nullptr, &zone) &&
      ::GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
    return false;
  if (!::SystemTimeToTzSpecificLocalTime(&zone, &universal, &local)) return false;
  FILETIME localTime{};
  if (!::SystemTimeToFileTime(&local, &localTime)) return false;
  time.year = local.wYear;
  time.month = local.wMonth;
  time.day = local.wDay;
  time.hour = local.wHour;
  time.minute = local.wMinute;
  time.second = local.wSecond;
  // Both readings have the same fraction of a second, so whole seconds tell the offset.
  time.offsetSeconds =
      static_cast<int>(win32::UnixTimeOfFileTime(localTime).seconds - win32::UnixTimeOfFileTime(universalTime).seconds);
  return true;
}

// Every call above reads the system's settings afresh.
void ReloadLocalZone() {}

std::string LocalZoneFilePath() {
  std::string name = GetEnvVar("TZ");
  if (name.starts_with(':')) name.erase(0, 1);
  if (name.empty() || IsAbsolutePath(name)) return name;
  return ZoneRulesFolder() + "\\" + name;
}

std::string ZoneRulesFolder() {
  const std::string folder = GetEnvVar("TZDIR");
  if (!folder.empty()) return folder;
  return win32::FolderOf(GetExeFileName()) + "\\zoneinfo";
}

}  // namespace platform
