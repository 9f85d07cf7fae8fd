// Naming options and zones for the naming tests.
#pragma once
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "workflow/naming/NameFormat.h"
#include "workflow/naming/NewFileName.h"

inline TTimeZone Zone(const char* name) {
  auto zone = TTimeZone::Find(name);
  EXPECT_TRUE(zone) << name;
  return zone ? *zone : *TTimeZone::Find("UTC");
}

inline TNamingOptions Options(const char* format, const char* tz = nullptr, const char* assumeTz = nullptr) {
  TNamingOptions options;
  options.Format = format;
  if (tz) options.Tz = Zone(tz);
  if (assumeTz) options.AssumeTz = Zone(assumeTz);
  return options;
}

// The full name a rename of /v/clip.mp4 would get with these options.
inline std::optional<std::string> RenamedName(const char* creationTime, const TNamingOptions& options) {
  const auto part = NamePartFor(creationTime, options);
  if (!part) return std::nullopt;
  return MakeNewFileName("/v/", *part, "/v/clip.mp4");
}

