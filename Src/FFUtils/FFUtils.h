// Stateless helpers that turn library values into text and prepare options for the libraries.
// Those that reach the libraries need them loaded (the loader's DecoderLibraries).
#pragma once
#include <cstdint>
#include <string>

#include "FFLoad/MediaHeaders.h"

// The time base of every component-level time: microseconds.
inline constexpr AVRational MicrosecondTimeBase{1, AV_TIME_BASE};

// "%.2d:%.2d:%.2d.%.3d" after adding 5 milliseconds; "N/A" for AV_NOPTS_VALUE.
std::string DurationToStr(std::int64_t microseconds);
// As DurationToStr, after rescaling `timestamp` from `timeBase` to microseconds.
std::string TimestampToStr(std::int64_t timestamp, AVRational timeBase);
// Microseconds of one frame; 40000 when the rate has a zero part.
std::int64_t FrameDurationFromRate(AVRational rate);
// "prefix: message" (or the message alone); unknown codes give "Error number %d occurred".
std::string GetErrorText(const std::string& prefix, int code);
int MatchStreamSpecifier(AVFormatContext* s, AVStream* st, const char* spec);
// New dictionary owned by the caller, or nullptr.
AVDictionary* FilterCodecOptions(AVDictionary* opts, AVCodecID codecId, AVFormatContext* s, AVStream* st,
                                 const AVCodec* codec);
// One dictionary per stream, the array and each dictionary owned by the caller; or nullptr.
AVDictionary** SetupFindStreamInfoOptions(AVFormatContext* s, AVDictionary* codecOpts);
std::string GetMetadataValue(AVDictionary* dict, const char* key, const std::string& defaultValue);
std::string GetCodecNameText(const AVCodecContext* ctx, bool encoder);
std::string PictureTypeToStr(int pictureType);
