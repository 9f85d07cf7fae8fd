// The process-wide library loader: finds, loads, binds and releases the libraries of the
// list (FFLoad/Libraries.inc). What other layers do when a library comes or goes, they
// register themselves (FFLoad/LoaderFollowUps.h).
#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "FFLoad/LibrarySet.h"
#include "FFLoad/LoadFailure.h"
#include "platform/DynamicLibrary.h"

// One row of the library table (LibraryItem), made from the list of libraries.
struct TLibraryItem {
  int Index;
  const char16_t* BaseName;
  bool SystemLibrary = false;  // loaded by bare name through the system's search, never from the folder
  // The headers' version, packed as major << 16 | minor << 8 | micro; its major version is
  // part of the file name. Negative: the file name carries no version.
  int BuiltVersion = -1;
  const char16_t* VersionlessFileName = nullptr;  // the file name of a row without version
  void (*AfterBind)() = nullptr;     // the library's own registration calls, once it is bound
  void (*BeforeUnbind)() = nullptr;  // its own clean-up, before its table is emptied
};

struct TLibraryStatus {
  std::u16string FileNameOverride;  // used unchanged as the file name when not empty
  platform::ModuleHandle Handle = nullptr;
  bool Bound = false;
};

// Safe to call from several threads: one lock serialises loading, unloading and every
// query of the loader's state (it is not held while the bound entry points are called).
// Unloading a library while another thread still calls into it stays the caller's fault.
class TFFLoader {
 public:
  TFFLoader();
  ~TFFLoader();
  TFFLoader(const TFFLoader&) = delete;
  TFFLoader& operator=(const TFFLoader&) = delete;

  void SetLibraryPath(const std::u16string& folder);
  std::u16string LibraryPath() const;
  // The most recent load or bind failure; never cleared by a success.
  TLoadFailure LastFailure() const;
  // The text of LastFailure.
  std::string LastErrMsg() const;

  std::u16string LibraryFileName(int index) const;
  // Replaces the composed file name of a library (an empty text restores it).
  void SetLibraryFileName(int index, const std::u16string& fileName);

  bool LoadLib(int index);
  void UnloadLib(int index);
  bool IsLoaded(int index) const;

  // All or nothing: on false no member of the set is left loaded.
  bool LoadLibs(TLibrarySet set);
  bool LibsLoaded(TLibrarySet set) const;
  // Throws EFFError "Library %s not loaded." for the first member that is not loaded.
  void CheckLibs(TLibrarySet set) const;
  void UnloadLibs(TLibrarySet set);

  // When true, loading avutil hooks up the log relay.
  bool HookLog = true;

 private:
  // Recursive: the follow-ups of a load may ask the loader about its state.
  mutable std::recursive_mutex Lock_;
  std::u16string LibraryPath_;
  TLoadFailure LastFailure_;
  TLibraryStatus Status_[LibraryCount];
};

const TLibraryItem& LibraryItem(int index);

// Loads `fileName` from `folder` when the file is there (making the folder current while
// loading and putting it in front of PATH), else by the bare name through the system's
// search. A relative `folder` is taken from the working folder at the call. Returns
// nullptr with the system's message in `error` on failure.
platform::ModuleHandle LoadLibraryInFolder(const std::u16string& folder, const std::u16string& fileName,
                                           std::string& error);

// The single loader; valid while an FFLoadUnit lives.
TFFLoader& FFLoader();
// Set when the loader's unit begins to shut down; the codec lock manager reads it.
bool FFLoaderShuttingDown();

// Process-wide state of the loader. Start it after the log relay's unit (FFLogUnit) and end
// it before: it masks floating-point exceptions while it lives and unloads every library
// when it ends.
class FFLoadUnit {
 public:
  FFLoadUnit();
  ~FFLoadUnit();
  FFLoadUnit(const FFLoadUnit&) = delete;
  FFLoadUnit& operator=(const FFLoadUnit&) = delete;
};
