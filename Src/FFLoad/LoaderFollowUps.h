// Steps that the layers above the loader attach to it, so that the loader names none of
// them: the log relay hooks itself into avutil and reports the versions, the Unicode
// protocol registers with avformat, the codec lock manager registers with avcodec and
// keeps its registry while the loader's unit lives.
#pragma once
#include <span>

#include "FFLoad/LibrarySet.h"

struct TLoaderFollowUp {
  TLibrarySet Libraries = 0;  // the libraries whose loads and releases the steps follow
  // Each time LoadLib finds one of them bound, also when it was loaded before the call;
  // `newlyBound` is true when this call bound it.
  void (*AfterLoad)(int index, bool newlyBound) = nullptr;
  void (*BeforeRelease)(int index) = nullptr;  // before UnloadLib unbinds one of them
  void (*UnitStarted)() = nullptr;  // as the loader's unit starts, before the loader exists
  void (*UnitEnded)() = nullptr;    // once the ending unit has unloaded every library
};

// Adds steps for the rest of the process and returns true, so that a layer can register
// from a static initialiser of the file that holds the steps. Registration is not locked:
// register before the loader's unit starts.
bool AddLoaderFollowUp(const TLoaderFollowUp& followUp);

// Every registered step, in the order of registration.
std::span<const TLoaderFollowUp> LoaderFollowUps();
