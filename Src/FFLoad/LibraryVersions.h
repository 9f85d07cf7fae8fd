// The versions of the libraries of the table: the one each was built with (its headers)
// and the one it runs with (its own version entry, once loaded).
#pragma once
#include <string>

// "major.minor.micro" of a version packed like the headers' LIB*_VERSION_INT.
std::string VersionText(unsigned packed);

// One line per library of the table that has a version, in table order:
// "avcodec 59.37.100 (libavcodec.so.59), built with 59.37.100" when it is loaded,
// "avfilter not loaded: REASON, built with 8.44.100" when not (REASON from the loader's
// last failure: the system's message for the library that failed, "avcodec failed to
// load" for the others; "not used" when none failed).
std::string LibraryVersionLines();
