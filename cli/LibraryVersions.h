// The versions of the media libraries that the loader has loaded, as each library reports
// its own at run time (which may differ from the headers the program was built with).
#pragma once
#include <string>

// One line per loaded decoder library: "avcodec 59.37.100 (libavcodec.so.59)".
std::string LoadedLibraryVersions();
