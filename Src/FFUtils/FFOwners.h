// Owners of library objects. Each frees through the bound entry point, and skips the
// release when that entry point is not bound (the library is gone with its objects).
#pragma once
#include <cstdint>
#include <memory>

#include "FFLoad/EntryPoints.h"

namespace ff {

struct DictionaryDeleter {
  void operator()(AVDictionary* dictionary) const {
    if (ff::avutil.av_dict_free) ff::avutil.av_dict_free(&dictionary);
  }
};
using DictionaryPtr = std::unique_ptr<AVDictionary, DictionaryDeleter>;

struct CodecContextDeleter {
  void operator()(AVCodecContext* context) const {
    if (ff::avcodec.avcodec_free_context) ff::avcodec.avcodec_free_context(&context);
  }
};
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;

// A format context that no input was opened on yet.
struct FormatContextDeleter {
  void operator()(AVFormatContext* context) const {
    if (ff::avformat.avformat_free_context) ff::avformat.avformat_free_context(context);
  }
};
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextDeleter>;

// A format context with an open input.
struct InputContextDeleter {
  void operator()(AVFormatContext* context) const {
    if (ff::avformat.avformat_close_input) ff::avformat.avformat_close_input(&context);
  }
};
using InputContextPtr = std::unique_ptr<AVFormatContext, InputContextDeleter>;

struct SwsContextDeleter {
  void operator()(SwsContext* context) const {
    if (ff::swscale.sws_freeContext) ff::swscale.sws_freeContext(context);
  }
};
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextDeleter>;

struct MemoryDeleter {
  void operator()(void* block) const {
    if (ff::avutil.av_free) ff::avutil.av_free(block);
  }
};
// A block from av_malloc.
using MemoryPtr = std::unique_ptr<std::uint8_t, MemoryDeleter>;

struct FrameDeleter {
  void operator()(AVFrame* frame) const {
    if (ff::avutil.av_frame_free) ff::avutil.av_frame_free(&frame);
  }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

struct PacketDeleter {
  void operator()(AVPacket* packet) const {
    if (ff::avcodec.av_packet_free) ff::avcodec.av_packet_free(&packet);
  }
};
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;

// The per-stream option dictionaries of a stream probe: the array and every dictionary in it.
class StreamOptions {
 public:
  StreamOptions(AVDictionary** dictionaries, unsigned count) : dictionaries_(dictionaries), count_(count) {}
  ~StreamOptions() {
    if (!dictionaries_) return;
    for (unsigned i = 0; i < count_; ++i) DictionaryDeleter{}(dictionaries_[i]);
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
