// Where the media libraries come from, decided in one place for every front end.
#pragma once
#include <string>

// The folder "LibAV" beside the executable, absolute and ending with the path delimiter.
// Empty when the executable's folder is unknown (no /proc): the loader then uses the
// system's search alone, never a "LibAV" of the working folder, which could hold anything.
std::u16string DefaultLibraryFolder();
