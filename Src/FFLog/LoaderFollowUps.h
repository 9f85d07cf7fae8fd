// What the log relay does when the loader binds a library: avutil's messages are routed
// into the relay, and every library's version is reported.
#pragma once

namespace fflog {

// Hooks the relay into avutil, when the loader's HookLog switch is on.
void HookIntoLibrary(int index, bool newlyBound);

// On a fresh binding, logs at Info the library's running version beside the version of
// the headers the program was built with; at Warning when the major versions differ,
// which is what a wrong library folder shows first. Libraries without a version are
// passed over.
void ReportLibraryVersion(int index, bool newlyBound);

}  // namespace fflog
