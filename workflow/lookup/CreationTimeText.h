// The text steps of the creation-time lookup, apart from the decoder and the files.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "workflow/lookup/LineBuffer.h"

// The container-level entry's line up to its "=" once " : " became " = ", derived from the
// report's own line layout ("  creation_time   "). Stream, chapter and program entries
// carry two more blanks in front and never match it.
const std::string& CreationTimeKey();

// Replaces every occurrence of `from` by `to`, left to right, case-sensitively.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Everything behind the first "=" of `line` when the part before it equals `key` without
// regard to the letter case of ASCII letters; nothing when it does not.
std::optional<std::string> ValueBehindKey(std::string_view line, std::string_view key);

// The first line that ValueBehindKey matches: its value. Empty when no line matches.
std::string FindKeyValue(const ILineBuffer& lines, std::string_view key);

// The text steps of the lookup on a report of the decoder: every " : " becomes " = ", the
// result goes into `lines`, and the value behind CreationTimeKey is looked up there.
std::string CreationTimeFromReport(ILineBuffer& lines, std::string_view report);
