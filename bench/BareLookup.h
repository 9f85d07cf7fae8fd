// The floor the renaming lookup is measured against: open, probe, read the container's
// creation_time, close, through the bound entry points and nothing else.
#pragma once
#include <string>

// The container-level creation_time of `path` (UTF-8), or empty when there is none or the
// file cannot be opened and probed. Needs the decoder's libraries loaded.
std::string BareCreationTime(const std::string& path);
