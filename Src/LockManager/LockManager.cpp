#include "LockManager/LockManager.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

#include "Base/FFError.h"
#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFLoad/LegacyEntryTypes.h"
#include "FFLoad/LoaderFollowUps.h"
#include "FFLog/FFLog.h"
#include "Text/Format.h"
#include "platform/FileSystem.h"
#include "platform/RecursiveMutex.h"

namespace {

struct RegistryEntry {
  void** slot = nullptr;
  std::unique_ptr<platform::RecursiveMutex> mutex;
  RegistryEntry* next = nullptr;
};

// Newest first. The lock exists while the loader's unit lives.
std::unique_ptr<std::mutex> gRegistryLock;
RegistryEntry* gRegistryHead = nullptr;

// The number a mutex is known by in messages: its address as a signed decimal.
std::int64_t Identity(const platform::RecursiveMutex* mutex) {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(mutex));
}

std::string ReleaseErrorText(int code) {
  if (code == 0) return "A call to an OS function failed";
  return text::Format("System Error.  Code: %d.\r\n%s", {code, platform::ErrorText(code)});
}

// The slot's entry, made (and stored in the slot) when the slot is empty.
RegistryEntry& FindOrAddEntry(void** slot) {
  std::lock_guard lock(*gRegistryLock);
  if (!*slot) {
    auto* entry = new RegistryEntry{slot, nullptr, gRegistryHead};
    gRegistryHead = entry;
    *slot = entry;
  }
  for (RegistryEntry* entry = gRegistryHead; entry; entry = entry->next)
    if (entry == *slot) {
      if (entry->slot != slot) break;
      return *entry;
    }
  throw EAssertionFailed("lock manager: the slot does not hold its registry entry");
}

void RemoveEntry(RegistryEntry& entry) {
  std::lock_guard lock(*gRegistryLock);
  RegistryEntry** link = &gRegistryHead;
  while (*link && *link != &entry) link = &(*link)->next;
  if (!*link) throw EAssertionFailed("lock manager: entry not in the registry");
  *link = entry.next;
  *entry.slot = nullptr;
  delete &entry;
}

int Create(RegistryEntry& entry) {
  TFFLogger* log = DefaultLogger();
  if (entry.mutex) {
    log->LogFmt(nullptr, llError, "[lock manager] error, mutex [%d] already exist.", Identity(entry.mutex.get()));
    return -1;
  }
  int error = 0;
  entry.mutex = platform::RecursiveMutex::Create(error);
  if (!entry.mutex) {
    log->LogFmt(nullptr, llError, "[lock manager] error, failed to create mutex: %s.", platform::ErrorText(error));
    return -1;
  }
  log->LogFmt(nullptr, llDebug, "[lock manager] mutex [%d] created.", Identity(entry.mutex.get()));
  return 0;
}

// True (and logged) when the slot's entry has no mutex to work on.
bool MissingMutex(const RegistryEntry& entry) {
  if (entry.mutex) return false;
  DefaultLogger()->Log(nullptr, llError, "[lock manager] error, mutex not available.");
  return true;
}

int Obtain(RegistryEntry& entry) {
  TFFLogger* log = DefaultLogger();
  if (MissingMutex(entry)) return -1;
  if (const int error = entry.mutex->Obtain()) {
    log->LogFmt(nullptr, llError, "[lock manager] error, could not wait on mutex [%d]: %s.",
                Identity(entry.mutex.get()), platform::ErrorText(error));
    return -1;
  }
  log->LogFmt(nullptr, llDebug, "[lock manager] mutex [%d] obtained.", Identity(entry.mutex.get()));
  return 0;
}

int Release(RegistryEntry& entry) {
  TFFLogger* log = DefaultLogger();
  if (MissingMutex(entry)) return -1;
  if (const int error = entry.mutex->Release()) {
    log->LogFmt(nullptr, llError, "[lock manager] error, could not release mutex [%d]: %s.",
                Identity(entry.mutex.get()), ReleaseErrorText(error));
    return -1;
  }
  log->LogFmt(nullptr, llDebug, "[lock manager] mutex [%d] release.", Identity(entry.mutex.get()));
  return 0;
}

int Destroy(RegistryEntry& entry) {
  // The slot is emptied either way.
  const int result = MissingMutex(entry) ? -1 : 0;
  if (entry.mutex) {
    DefaultLogger()->LogFmt(nullptr, llDebug, "[lock manager] mutex [%d] destroyed.", Identity(entry.mutex.get()));
    entry.mutex.reset();
  }
  RemoveEntry(entry);
  return result;
}

}  // namespace

// Matches avcodec's callback type, so the loader can hand it over unchanged.
static_assert(std::is_convertible_v<decltype(&LockManagerCallback), ff::legacy::LockManagerFunction*>);

int LockManagerCallback(void** slot, int operation) noexcept {
  if (FFLoaderShuttingDown() || !gRegistryLock) return 0;
  RegistryEntry& entry = FindOrAddEntry(slot);
  switch (operation) {
    case ff::legacy::LockCreate: return Create(entry);
    case ff::legacy::LockObtain: return Obtain(entry);
    case ff::legacy::LockRelease: return Release(entry);
    case ff::legacy::LockDestroy: return Destroy(entry);
    default:
      DefaultLogger()->LogFmt(nullptr, llError, "[lock manager] error, invalid mutex operation %d.", operation);
      return -1;
  }
}

namespace {

void StartLockRegistry() {
  if (!gRegistryLock) gRegistryLock = std::make_unique<std::mutex>();
}

void ReleaseLockRegistry() {
  if (!gRegistryLock) return;
  {
    std::lock_guard lock(*gRegistryLock);
    while (RegistryEntry* entry = gRegistryHead) {
      gRegistryHead = entry->next;
      delete entry;
    }
  }
  gRegistryLock.reset();
}

// Today's avcodec locks internally and no longer exports the registration.
void RegisterWithCodecs(int, bool) {
  if (ff::avcodec.av_lockmgr_register) ff::avcodec.av_lockmgr_register(LockManagerCallback);
}

void UnregisterFromCodecs(int) {
  if (ff::avcodec.av_lockmgr_register) ff::avcodec.av_lockmgr_register(nullptr);
}

// The build links this file into every program that uses the media component.
[[maybe_unused]] const bool kFollowsTheLoader = AddLoaderFollowUp({.Libraries = LibraryBit(liAVCodec),
                                                                   .AfterLoad = RegisterWithCodecs,
                                                                   .BeforeRelease = UnregisterFromCodecs,
                                                                   .UnitStarted = StartLockRegistry,
                                                                   .UnitEnded = ReleaseLockRegistry});

}  // namespace

std::size_t LockRegistrySize() {
  if (!gRegistryLock) return 0;
  std::lock_guard lock(*gRegistryLock);
  std::size_t count = 0;
  for (const RegistryEntry* entry = gRegistryHead; entry; entry = entry->next) ++count;
  return count;
}
