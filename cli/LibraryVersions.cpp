#include "cli/LibraryVersions.h"

#include "FFLoad/FFLoad.h"
#include "platform/DynamicLibrary.h"
#include "platform/Text.h"

namespace {

// A second reference to a module the loader already holds, dropped on every way out.
class TModuleReference {
 public:
  explicit TModuleReference(const std::u16string& fileName) : Module_(platform::LoadModule(fileName, Error_)) {}
  ~TModuleReference() {
    if (Module_) platform::FreeModule(Module_);
  }
  TModuleReference(const TModuleReference&) = delete;
  TModuleReference& operator=(const TModuleReference&) = delete;

  // The library's "<base>_version" export, called; 0 when there is none.
  unsigned Version(const std::string& base) {
    if (!Module_) return 0;
    const auto version = reinterpret_cast<unsigned (*)()>(platform::FindSymbol(Module_, (base + "_version").c_str(), Error_));
    return version ? version() : 0;
  }

 private:
  std::string Error_;
  platform::ModuleHandle Module_ = nullptr;
};

struct TVersionedLibrary {
  int Index;
  const char* Base;
};

constexpr TVersionedLibrary kLibraries[] = {{liAVUtil, "avutil"},
                                            {liAVCodec, "avcodec"},
                                            {liAVFormat, "avformat"},
                                            {liSwScale, "swscale"},
                                            {liSwResample, "swresample"}};

}  // namespace

std::string LoadedLibraryVersions() {
  std::string lines;
  for (const TVersionedLibrary& library : kLibraries) {
    if (!FFLoader().IsLoaded(library.Index)) continue;
    const std::u16string fileName = FFLoader().LibraryFileName(library.Index);
    const unsigned version = TModuleReference(fileName).Version(library.Base);
    // The libraries pack major, minor and micro version into one number, 8 bits each at the bottom.
    lines += std::string(library.Base) + ' ' + std::to_string(version >> 16) + '.' +
             std::to_string((version >> 8) & 0xFF) + '.' + std::to_string(version & 0xFF) + " (" +
             platform::WideToNarrow(fileName) + ")\n";
  }
  return lines;
}
