#include "FFLoad/LibraryVersions.h"

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "Text/Format.h"
#include "platform/Text.h"

std::string VersionText(unsigned packed) {
  return text::Format("%d.%d.%d", {AV_VERSION_MAJOR(packed), AV_VERSION_MINOR(packed), AV_VERSION_MICRO(packed)});
}

namespace {

// Why a library is not loaded, from the last failure of the loader, which loads the
// libraries that the program uses all or none: ": REASON".
std::string NotLoadedReason(int index) {
  const TLoadFailure failure = FFLoader().LastFailure();
  if (failure.Step == TLoadFailure::TStep::None) return ": not used";
  if (failure.Library != index)
    return ": " + platform::WideToNarrow(LibraryItem(failure.Library).BaseName) + " failed to load";
  if (failure.Step == TLoadFailure::TStep::EntryPoint) return ": lacks " + failure.EntryPoint + ": " + failure.Reason;
  return ": " + failure.Reason;
}

}  // namespace

std::string LibraryVersionLines() {
  std::string lines;
  for (int index = 0; index < LibraryCount; ++index) {
    const TLibraryItem& item = LibraryItem(index);
    if (item.BuiltVersion < 0) continue;
    const unsigned running = FFLoader().IsLoaded(index) ? ff::RunningVersion(index) : 0;
    lines += platform::WideToNarrow(item.BaseName);
    lines += running == 0 ? " not loaded" + NotLoadedReason(index)
                          : ' ' + VersionText(running) + " (" + platform::WideToNarrow(FFLoader().LibraryFileName(index)) + ')';
    lines += ", built with " + VersionText(static_cast<unsigned>(item.BuiltVersion)) + '\n';
  }
  return lines;
}
