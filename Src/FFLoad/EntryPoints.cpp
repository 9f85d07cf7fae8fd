#include "FFLoad/EntryPoints.h"

#include <span>

#include "Base/FFError.h"
#include "Text/Format.h"
#include "platform/Text.h"

namespace ff {

AVCodecEntries avcodec;
AVDeviceEntries avdevice;
AVFilterEntries avfilter;
AVFormatEntries avformat;
AVUtilEntries avutil;
SwResampleEntries swresample;
SwScaleEntries swscale;
CRuntimeEntries msvcrt;
SoundTouchEntries SoundTouch;

namespace {

// One slot of a table: its export name, whether a library may lack it, and how a found
// address is stored into the typed slot.
struct EntrySlot {
  const char* name;
  bool optional;
  void (*store)(void* symbol);
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#define FF_SLOT(name, optional) \
  {#name, optional, [](void* symbol) { FF_TABLE.name = reinterpret_cast<decltype(FF_TABLE.name)>(symbol); }},
#define FF_REQUIRED(name) FF_SLOT(name, false)
#define FF_OVERLOADED(name) FF_SLOT(name, false)
#define FF_LEGACY_OPTIONAL(name) FF_SLOT(name, true)

#define FF_TABLE avcodec
const EntrySlot kAVCodecSlots[] = {
#include "FFLoad/entries/avcodec.inc"
};
#undef FF_TABLE
#define FF_TABLE avdevice
const EntrySlot kAVDeviceSlots[] = {
#include "FFLoad/entries/avdevice.inc"
};
#undef FF_TABLE
#define FF_TABLE avfilter
const EntrySlot kAVFilterSlots[] = {
#include "FFLoad/entries/avfilter.inc"
};
#undef FF_TABLE
#define FF_TABLE avformat
const EntrySlot kAVFormatSlots[] = {
#include "FFLoad/entries/avformat.inc"
};
#undef FF_TABLE
#define FF_TABLE avutil
const EntrySlot kAVUtilSlots[] = {
#include "FFLoad/entries/avutil.inc"
};
#undef FF_TABLE
#define FF_TABLE swresample
const EntrySlot kSwResampleSlots[] = {
#include "FFLoad/entries/swresample.inc"
};
#undef FF_TABLE
#define FF_TABLE swscale
const EntrySlot kSwScaleSlots[] = {
#include "FFLoad/entries/swscale.inc"
};
#undef FF_TABLE
#define FF_TABLE msvcrt
const EntrySlot kCRuntimeSlots[] = {
#include "FFLoad/entries/msvcrt.inc"
};
#undef FF_TABLE
#define FF_TABLE SoundTouch
const EntrySlot kSoundTouchSlots[] = {
#include "FFLoad/entries/SoundTouch.inc"
};
#undef FF_TABLE

#undef FF_SLOT
#undef FF_REQUIRED
#undef FF_OVERLOADED
#undef FF_LEGACY_OPTIONAL
#pragma GCC diagnostic pop

// Looks one export up and stores it, found or not.
void BindEntry(const std::u16string& fileName, platform::ModuleHandle module, const EntrySlot& slot) {
  std::string error;
  void* symbol = platform::FindSymbol(module, slot.name, error);
  slot.store(symbol);
  if (!symbol && !slot.optional)
    throw EFFError(text::Format("Load function %s@%s error: %s",
                                {slot.name, platform::WideToNarrow(fileName), error}));
}

template <typename Table>
void BindTable(Table& table, std::span<const EntrySlot> slots, const std::u16string& fileName,
               platform::ModuleHandle module) {
  try {
    for (const EntrySlot& slot : slots) BindEntry(fileName, module, slot);
  } catch (...) {
    table = Table{};  // nothing may call into a module that is about to be released
    throw;
  }
}

}  // namespace

void BindAVCodec(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(avcodec, kAVCodecSlots, fileName, module);
  if (avcodec.avcodec_register_all) avcodec.avcodec_register_all();
}

void BindAVDevice(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(avdevice, kAVDeviceSlots, fileName, module);
  avdevice.avdevice_register_all();
}

void BindAVFilter(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(avfilter, kAVFilterSlots, fileName, module);
  if (avfilter.avfilter_register_all) avfilter.avfilter_register_all();
}

void BindAVFormat(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(avformat, kAVFormatSlots, fileName, module);
  if (avformat.av_register_all) avformat.av_register_all();
  avformat.avformat_network_init();
}

void BindAVUtil(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(avutil, kAVUtilSlots, fileName, module);
}

void BindSwResample(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(swresample, kSwResampleSlots, fileName, module);
}

void BindSwScale(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(swscale, kSwScaleSlots, fileName, module);
}

void BindCRuntime(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(msvcrt, kCRuntimeSlots, fileName, module);
}

void BindSoundTouch(const std::u16string& fileName, platform::ModuleHandle module) {
  BindTable(SoundTouch, kSoundTouchSlots, fileName, module);
}

void UnbindAVCodec() { avcodec = {}; }
void UnbindAVDevice() { avdevice = {}; }
void UnbindAVFilter() { avfilter = {}; }
void UnbindAVFormat() {
  if (avformat.avformat_network_deinit) avformat.avformat_network_deinit();
  avformat = {};
}
void UnbindAVUtil() { avutil = {}; }
void UnbindSwResample() { swresample = {}; }
void UnbindSwScale() { swscale = {}; }
void UnbindCRuntime() { msvcrt = {}; }
void UnbindSoundTouch() { SoundTouch = {}; }

std::int64_t IOPosition(AVIOContext* context) { return avformat.avio_seek(context, 0, SEEK_CUR); }

}  // namespace ff
