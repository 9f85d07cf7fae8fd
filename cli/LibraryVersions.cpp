#include "cli/LibraryVersions.h"

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "platform/Text.h"

namespace {

// The libraries with a version entry, each after the ones it stands on.
constexpr int kShownLibraries[] = {liAVUtil, liAVCodec, liAVFormat, liSwScale, liSwResample, liAVFilter, liAVDevice};

}  // namespace

std::string LoadedLibraryVersions() {
  std::string lines;
  for (const int index : kShownLibraries) {
    const unsigned version = FFLoader().IsLoaded(index) ? ff::RunningVersion(index) : 0;
    if (version == 0) continue;
    lines += platform::WideToNarrow(LibraryItem(index).BaseName) + ' ' + std::to_string(AV_VERSION_MAJOR(version)) +
             '.' + std::to_string(AV_VERSION_MINOR(version)) + '.' + std::to_string(AV_VERSION_MICRO(version)) + " (" +
             platform::WideToNarrow(FFLoader().LibraryFileName(index)) + ")\n";
  }
  return lines;
}
