// Owners of library objects. Each frees through the bound entry point, and skips the
// release when that entry point is not bound (the library is gone with its objects).
#pragma once
#include <cstdint>
#include <memory>
#include <type_traits>

#include "FFLoad/EntryPoints.h"

namespace ff {

// Frees an object through the entry point in slot `Release` of `Table`, passing the object
// or the address of the pointer as that entry point takes it; does nothing while the
// entry point is not bound (the library is gone, and its objects with it).
template <auto& Table, auto Release>
struct BoundRelease {
  template <typename Object>
  void operator()(Object* object) const {
    const auto release = Table.*Release;
    if (!release) return;
    // The object itself first: an entry point taking void* (av_free) would also accept
    // the address of the pointer, and free the wrong block.
    if constexpr (std::is_invocable_v<decltype(release), Object*>)
      release(object);
    else
      release(&object);
  }
};

// An owner of a library object that frees it through the bound entry point.
template <typename Object, auto& Table, auto Release>
using LibraryPtr = std::unique_ptr<Object, BoundRelease<Table, Release>>;

using DictionaryPtr = LibraryPtr<AVDictionary, avutil, &EntryTable<liAVUtil>::av_dict_free>;
using CodecContextPtr = LibraryPtr<AVCodecContext, avcodec, &EntryTable<liAVCodec>::avcodec_free_context>;
// A format context that no input was opened on yet.
using FormatContextPtr = LibraryPtr<AVFormatContext, avformat, &EntryTable<liAVFormat>::avformat_free_context>;
// A format context with an open input.
using InputContextPtr = LibraryPtr<AVFormatContext, avformat, &EntryTable<liAVFormat>::avformat_close_input>;
using SwsContextPtr = LibraryPtr<SwsContext, swscale, &EntryTable<liSwScale>::sws_freeContext>;

// A block from av_malloc.
using MemoryPtr = LibraryPtr<std::uint8_t, avutil, &EntryTable<liAVUtil>::av_free>;
using FramePtr = LibraryPtr<AVFrame, avutil, &EntryTable<liAVUtil>::av_frame_free>;
using PacketPtr = LibraryPtr<AVPacket, avcodec, &EntryTable<liAVCodec>::av_packet_free>;

// The per-stream option dictionaries of a stream probe: the array and every dictionary in it.
class StreamOptions {
 public:
  StreamOptions(AVDictionary** dictionaries, unsigned count) : dictionaries_(dictionaries), count_(count) {}
  ~StreamOptions() {
    if (!dictionaries_) return;
    for (unsigned i = 0; i < count_; ++i) DictionaryPtr::deleter_type{}(dictionaries_[i]);
    if (ff::avutil.av_freep) ff::avutil.av_freep(&dictionaries_);
  }
  StreamOptions(const StreamOptions&) = delete;
  StreamOptions& operator=(const StreamOptions&) = delete;
  AVDictionary** get() const { return dictionaries_; }

 private:
  AVDictionary** dictionaries_;
  unsigned count_;
};

// A codec context filled from a stream's parameters, for texts about the stream.
CodecContextPtr CodecContextFromParameters(const AVCodecParameters* parameters);

}  // namespace ff
