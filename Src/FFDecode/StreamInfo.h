// Typed descriptions of the open file and of one audio or video stream, filled by the
// decoder core. Every fill first sets the whole record to its unknown values, so after a
// failure the record holds exactly those and the decoder's LastErrMsg says why.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "FFLoad/MediaHeaders.h"

struct TFileStreamInfo {
  std::int64_t StartTime = AV_NOPTS_VALUE;  // microseconds, unchanged from the container
  std::int64_t Duration = -1;               // microseconds; -1 when unknown
  std::int64_t BitRate = -1;                // bits per second; 0 when the container knows none
  std::int32_t Year = -1;
  std::int32_t Track = -1;
  std::string Title;
  std::string Author;
  std::string Copyright;
  std::string Comment;
  std::string Album;
  std::string Genre;
};

// What audio and video streams have in common. StartTime and Duration are in the stream's
// time base and keep AV_NOPTS_VALUE when the stream has none; the microsecond twins then
// stay -1.
struct TStreamInfo {
  std::string Language;
  std::string CodecName;
  std::int64_t StartTime = -1;
  std::int64_t StartTimeUs = -1;
  std::int64_t Duration = -1;
  std::int64_t DurationUs = -1;
  std::int64_t BitRate = -1;
};

struct TAudioStreamInfo : TStreamInfo {
  std::int32_t Channels = -1;
  std::int32_t SampleRate = -1;
  std::int32_t SampleFormat = -1;
};

struct TVideoStreamInfo : TStreamInfo {
  std::int32_t Height = -1;
  std::int32_t Width = -1;
  float SampleAspect = -1.0f;
  float DisplayAspect = -1.0f;
  AVRational SampleAspectRatio{0, 1};
  AVRational DisplayAspectRatio{0, 1};
  std::int32_t PixelFormat = -1;
  AVRational FrameRate{0, 1};
};

// The toolkit's text-to-integer rule: leading blanks, an optional sign, then decimal digits
// or hexadecimal digits after "$", "x", "X", "0x" or "0X". The whole rest must be digits
// and the value must fit 32 bits (a hexadecimal value is taken as a 32-bit pattern);
// anything else gives 0.
std::int32_t StrToIntOrZero(std::string_view text);

// The display aspect ratio of a picture of that size with that sample aspect ratio, reduced
// to terms of at most 1048576. The products are taken on 64 bits.
AVRational DisplayAspectOf(std::int32_t width, std::int32_t height, AVRational sampleAspect);
