// The process-wide library loader: finds, loads, binds and releases the nine libraries.
#pragma once
#include <cstdint>
#include <string>

#include "platform/DynamicLibrary.h"

// Bit i stands for library i of the table below.
using TLibrarySet = std::uint16_t;

enum TLibraryIndex : int {
  liAVCodec = 0, liAVDevice, liAVFilter, liAVFormat, liAVUtil, liSwResample, liSwScale, liCRuntime,
  liSoundTouch, LibraryCount
};

inline constexpr TLibrarySet AllLibraries = 0x01FF;
// avcodec, avformat, avutil, swresample, swscale and the C library.
inline constexpr TLibrarySet DecoderLibraries = 0x00F9;

struct TLibraryItem {
  int Index;
  const char16_t* BaseName;
  bool SystemLibrary;  // loaded by bare name through the system's search, never from the folder
  int Version;         // major version in the file name; negative: none
  const char16_t* VersionlessFileName;  // the file name of a row without version
  void (*Bind)(const std::u16string& fileName, platform::ModuleHandle module);
  void (*Unbind)();
};

struct TLibraryStatus {
  std::u16string FileNameOverride;  // used unchanged as the file name when not empty
  platform::ModuleHandle Handle = nullptr;
  bool Bound = false;
};

class TFFLoader {
 public:
  TFFLoader();
  ~TFFLoader();
  TFFLoader(const TFFLoader&) = delete;
  TFFLoader& operator=(const TFFLoader&) = delete;

  void SetLibraryPath(const std::u16string& folder) { LibraryPath_ = folder; }
  const std::u16string& LibraryPath() const { return LibraryPath_; }
  // The most recent load or bind failure; never cleared by a success.
  const std::string& LastErrMsg() const { return LastErrMsg_; }

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

  bool HookLog = true;

 private:
  void RunFollowUp(int index);

  std::u16string LibraryPath_;
  std::string LastErrMsg_;
  TLibraryStatus Status_[LibraryCount];
};

const TLibraryItem& LibraryItem(int index);

// Loads `fileName` from `folder` when the file is there (making the folder current while
// loading and putting it in front of PATH), else by the bare name through the system's
// search. Returns nullptr with the system's message in `error` on failure.
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
