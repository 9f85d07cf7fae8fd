// The process-wide entry-point tables of the nine libraries. Each table is filled by
// name when its library is loaded and emptied when it is unloaded; call through a slot
// only while the loader reports the library as loaded. Every slot's type is taken from
// the library's own header, so a changed prototype fails to compile instead of crashing.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FFLoad/LegacyEntryTypes.h"
#include "FFLoad/MediaHeaders.h"
#include "platform/DynamicLibrary.h"

namespace ff {

// The C library functions that C++ overloads on constness: the C export is the one taking
// a const pointer, chosen from the header's overloads.
namespace overload {
using strchr_fn = const char*(const char*, int);
using strrchr_fn = const char*(const char*, int);
using strstr_fn = const char*(const char*, const char*);
}  // namespace overload

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#define FF_REQUIRED(name) decltype(&::name) name = nullptr;
#define FF_OVERLOADED(name) decltype(static_cast<overload::name##_fn*>(&::name)) name = nullptr;
#define FF_LEGACY_OPTIONAL(name) legacy::name##_fn* name = nullptr;

struct AVCodecEntries {
#include "FFLoad/entries/avcodec.inc"
};
struct AVDeviceEntries {
#include "FFLoad/entries/avdevice.inc"
};
struct AVFilterEntries {
#include "FFLoad/entries/avfilter.inc"
};
struct AVFormatEntries {
#include "FFLoad/entries/avformat.inc"
};
struct AVUtilEntries {
#include "FFLoad/entries/avutil.inc"
};
struct SwResampleEntries {
#include "FFLoad/entries/swresample.inc"
};
struct SwScaleEntries {
#include "FFLoad/entries/swscale.inc"
};
struct CRuntimeEntries {
#include "FFLoad/entries/msvcrt.inc"
};
struct SoundTouchEntries {
#include "FFLoad/entries/SoundTouch.inc"
};

#undef FF_REQUIRED
#undef FF_OVERLOADED
#undef FF_LEGACY_OPTIONAL
#pragma GCC diagnostic pop

extern AVCodecEntries avcodec;
extern AVDeviceEntries avdevice;
extern AVFilterEntries avfilter;
extern AVFormatEntries avformat;
extern AVUtilEntries avutil;
extern SwResampleEntries swresample;
extern SwScaleEntries swscale;
extern CRuntimeEntries msvcrt;
extern SoundTouchEntries SoundTouch;

// Binding and unbinding routines, one pair per library. A binding routine looks every
// name up in table order; the first missing required name throws EFFError with
// "Load function %s@%s error: %s" and leaves the whole table empty. After the last name it
// runs the library's registration calls.
void BindAVCodec(const std::u16string& fileName, platform::ModuleHandle module);
void BindAVDevice(const std::u16string& fileName, platform::ModuleHandle module);
void BindAVFilter(const std::u16string& fileName, platform::ModuleHandle module);
void BindAVFormat(const std::u16string& fileName, platform::ModuleHandle module);
void BindAVUtil(const std::u16string& fileName, platform::ModuleHandle module);
void BindSwResample(const std::u16string& fileName, platform::ModuleHandle module);
void BindSwScale(const std::u16string& fileName, platform::ModuleHandle module);
void BindCRuntime(const std::u16string& fileName, platform::ModuleHandle module);
void BindSoundTouch(const std::u16string& fileName, platform::ModuleHandle module);

void UnbindAVCodec();
void UnbindAVDevice();
void UnbindAVFilter();
void UnbindAVFormat();
void UnbindAVUtil();
void UnbindSwResample();
void UnbindSwScale();
void UnbindCRuntime();
void UnbindSoundTouch();

// The current byte position of an avformat I/O context.
std::int64_t IOPosition(AVIOContext* context);

}  // namespace ff
