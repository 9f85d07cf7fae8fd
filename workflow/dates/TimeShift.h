// A camera clock that was wrong: an amount added to (or taken from) every date it wrote,
// before the name is made. Written "[+|-][D ]HH:MM[:SS]": "-1:00" one hour back,
// "+1 02:30" one day two hours and a half forward.
#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "workflow/dates/CreationTime.h"

// The amount `text` writes; nothing, with `why` set, when it is not of the form above
// (hours up to 23, minutes and seconds up to 59, each of them two digits but the hours).
std::optional<std::chrono::seconds> ParseTimeShift(std::string_view text, std::string& why);

// "+1 02:30:00", "-01:00:00": the amount as ParseTimeShift reads it back.
std::string TimeShiftText(std::chrono::seconds shift);

// `time` with its wall-clock reading moved by `shift`; its zone stays as written.
TCreationTime ShiftedTime(const TCreationTime& time, std::chrono::seconds shift);
