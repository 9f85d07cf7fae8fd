#include "FFLoad/FFLoad.h"

#include <atomic>
#include <cassert>
#include <memory>

#include "Base/FFError.h"
#include "FFLoad/EntryPoints.h"
#include "FFLoad/LoaderFollowUps.h"
#include "Paths/PathHelpers.h"
#include "Text/Format.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/FloatingPoint.h"
#include "platform/LibraryNames.h"
#include "platform/Text.h"

namespace {

std::unique_ptr<TFFLoader> gLoader;
// Read by the lock manager on the libraries' threads.
std::atomic<bool> gShuttingDown = false;
platform::FloatingPointState gSavedFloatingPoint;

bool IsMember(TLibrarySet set, int index) { return (set >> index) & 1; }

void RequireNonEmpty(TLibrarySet set) {
  if ((set & AllLibraries) == 0) throw EAssertionFailed("empty library set");
}

bool SearchPathHolds(std::string_view path, std::string_view folder) {
  for (std::size_t start = 0;;) {
    const std::size_t end = path.find(platform::PathListSeparator, start);
    if (platform::SameSearchPathEntry(path.substr(start, end - start), folder)) return true;
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

// Puts `folder` in front of PATH unless an entry names it already; the change stays. An
// empty PATH gets the folder alone: an empty entry would stand for the working folder.
void PrependToSearchPath(const std::string& folder) {
  const std::string path = platform::GetEnvVar("PATH");
  if (SearchPathHolds(path, folder)) return;
  platform::SetEnvVar("PATH", path.empty() ? folder : folder + platform::PathListSeparator + path);
}

}  // namespace

platform::ModuleHandle LoadLibraryInFolder(const std::u16string& folder, const std::u16string& fileName,
                                           std::string& error) {
  if (!folder.empty()) {
    // Absolute before the working folder changes: a relative folder would otherwise be
    // looked for again inside itself.
    const std::u16string folderWithDelimiter = IncludeTrailingBackslashW(ExpandFileNameW(folder));
    const std::u16string fullPath = folderWithDelimiter + fileName;
    if (FileExistsW(fullPath)) {
      const std::u16string previous = GetCurrentDirW();
      SetCurrentDirW(folderWithDelimiter);
      PrependToSearchPath(platform::WideToNarrow(folderWithDelimiter));
      platform::ModuleHandle module = platform::LoadModule(platform::WideToNarrow(fullPath), error);
      SetCurrentDirW(previous);
      return module;
    }
  }
  return platform::LoadModule(platform::WideToNarrow(fileName), error);
}

TFFLoader::TFFLoader() = default;

TFFLoader::~TFFLoader() = default;

void TFFLoader::SetLibraryPath(const std::u16string& folder) {
  std::lock_guard lock(Lock_);
  LibraryPath_ = folder;
}

std::u16string TFFLoader::LibraryPath() const {
  std::lock_guard lock(Lock_);
  return LibraryPath_;
}

TLoadFailure TFFLoader::LastFailure() const {
  std::lock_guard lock(Lock_);
  return LastFailure_;
}

std::string TFFLoader::LastErrMsg() const { return LoadFailureText(LastFailure()); }

std::u16string TFFLoader::LibraryFileName(int index) const {
  std::lock_guard lock(Lock_);
  if (!Status_[index].FileNameOverride.empty()) return Status_[index].FileNameOverride;
  const TLibraryItem& item = LibraryItem(index);
  if (item.BuiltVersion < 0) return item.VersionlessFileName;
  return platform::VersionedLibraryFileName(item.BaseName, AV_VERSION_MAJOR(item.BuiltVersion));
}

void TFFLoader::SetLibraryFileName(int index, const std::u16string& fileName) {
  std::lock_guard lock(Lock_);
  Status_[index].FileNameOverride = fileName;
}

bool TFFLoader::LoadLib(int index) {
  std::lock_guard lock(Lock_);
  TLibraryStatus& status = Status_[index];
  const TLibraryItem& item = LibraryItem(index);
  if (!status.Handle) {
    const std::u16string fileName = LibraryFileName(index);
    std::u16string folder = ExtractFilePathW(fileName);
    const std::u16string bareName = ExtractFileNameW(fileName);
    if (folder.empty() && !LibraryPath_.empty() && !item.SystemLibrary)
      folder = IncludeTrailingBackslashW(ExpandFileNameW(LibraryPath_));
    std::string error;
    status.Handle = LoadLibraryInFolder(folder, bareName, error);
    if (!status.Handle) {
      LastFailure_ = {TLoadFailure::TStep::Module, index, platform::WideToNarrow(folder + bareName), {}, error};
      return false;
    }
  }
  const bool newlyBound = !status.Bound;
  if (newlyBound) {
    if (std::optional<ff::TMissingEntry> missing = ff::BindEntries(index, status.Handle)) {
      LastFailure_ = {TLoadFailure::TStep::EntryPoint, index, platform::WideToNarrow(LibraryFileName(index)),
                      std::move(missing->Name), std::move(missing->Reason)};
    } else {
      if (item.AfterBind) item.AfterBind();
      status.Bound = true;
    }
  }
  if (!status.Bound) {
    UnloadLib(index);
    return false;
  }
  for (const TLoaderFollowUp& followUp : LoaderFollowUps())
    if (IsMember(followUp.Libraries, index) && followUp.AfterLoad) followUp.AfterLoad(index, newlyBound);
  return true;
}

void TFFLoader::UnloadLib(int index) {
  std::lock_guard lock(Lock_);
  TLibraryStatus& status = Status_[index];
  if (status.Bound) {
    for (const TLoaderFollowUp& followUp : LoaderFollowUps())
      if (IsMember(followUp.Libraries, index) && followUp.BeforeRelease) followUp.BeforeRelease(index);
    const TLibraryItem& item = LibraryItem(index);
    if (item.BeforeUnbind) item.BeforeUnbind();
    ff::UnbindEntries(index);
    status.Bound = false;
  }
  if (status.Handle) {
    platform::FreeModule(status.Handle);
    status.Handle = nullptr;
  }
}

bool TFFLoader::IsLoaded(int index) const {
  std::lock_guard lock(Lock_);
  return Status_[index].Handle && Status_[index].Bound;
}

bool TFFLoader::LoadLibs(TLibrarySet set) {
  std::lock_guard lock(Lock_);
  RequireNonEmpty(set);
  for (int index = 0; index < LibraryCount; ++index) {
    if (IsMember(set, index) && !LoadLib(index)) {
      UnloadLibs(set);
      return false;
    }
  }
  return true;
}

bool TFFLoader::LibsLoaded(TLibrarySet set) const {
  std::lock_guard lock(Lock_);
  RequireNonEmpty(set);
  for (int index = 0; index < LibraryCount; ++index)
    if (IsMember(set, index) && !IsLoaded(index)) return false;
  return true;
}

void TFFLoader::CheckLibs(TLibrarySet set) const {
  std::lock_guard lock(Lock_);
  for (int index = 0; index < LibraryCount; ++index)
    if (IsMember(set, index) && !IsLoaded(index))
      throw EFFError(text::Format("Library %s not loaded.", {platform::WideToNarrow(LibraryItem(index).BaseName)}));
}

void TFFLoader::UnloadLibs(TLibrarySet set) {
  std::lock_guard lock(Lock_);
  RequireNonEmpty(set);
  for (int index = 0; index < LibraryCount; ++index)
    if (IsMember(set, index)) UnloadLib(index);
}

TFFLoader& FFLoader() {
  assert(gLoader && "the loader's unit (FFLoadUnit) is not active");
  return *gLoader;
}

bool FFLoaderShuttingDown() { return gShuttingDown; }

FFLoadUnit::FFLoadUnit() {
  gShuttingDown = false;
  for (const TLoaderFollowUp& followUp : LoaderFollowUps())
    if (followUp.UnitStarted) followUp.UnitStarted();
  gLoader = std::make_unique<TFFLoader>();
  gSavedFloatingPoint = platform::MaskFloatingPointExceptions();
}

FFLoadUnit::~FFLoadUnit() {
  platform::RestoreFloatingPoint(gSavedFloatingPoint);
  gShuttingDown = true;
  gLoader->UnloadLibs(AllLibraries);
  for (const TLoaderFollowUp& followUp : LoaderFollowUps())
    if (followUp.UnitEnded) followUp.UnitEnded();
  gLoader.reset();
}
