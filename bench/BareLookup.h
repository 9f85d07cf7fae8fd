// The floors the renaming lookup is measured against, through the bound entry points and
// nothing else: open, read the container's creation_time, close; with or without the
// stream probe between the open and the read.
#pragma once
#include <string>

// The container-level creation_time of `path` (UTF-8), or empty when there is none or the
// file cannot be opened and probed. Needs the decoder's libraries loaded.
std::string BareCreationTime(const std::string& path);
// The same without the stream probe: what the container's header holds.
std::string BareHeaderCreationTime(const std::string& path);
