#include "FFLog/LoaderFollowUps.h"

#include <string>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFLoad/LibraryVersions.h"
#include "FFLog/FFLog.h"
#include "Text/Format.h"
#include "platform/Text.h"

namespace fflog {

void HookIntoLibrary(int, bool) {
  if (FFLoader().HookLog) DefaultLogger()->HookLibraryLog();
}

void ReportLibraryVersion(int index, bool newlyBound) {
  const TLibraryItem& item = LibraryItem(index);
  const unsigned running = ff::RunningVersion(index);
  if (!newlyBound || item.BuiltVersion < 0 || running == 0) return;
  const auto built = static_cast<unsigned>(item.BuiltVersion);
  const std::string name = platform::WideToNarrow(item.BaseName);
  if (AV_VERSION_MAJOR(running) == AV_VERSION_MAJOR(built))
    DefaultLogger()->LogFmt(nullptr, llInfo, "%s %s loaded, built with %s", name, VersionText(running),
                            VersionText(built));
  else
    DefaultLogger()->LogFmt(nullptr, llWarning,
                            "%s %s loaded, but the program was built with %s: the major versions differ", name,
                            VersionText(running), VersionText(built));
}

}  // namespace fflog
