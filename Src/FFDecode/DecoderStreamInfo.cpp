// The decoder's typed stream records: the file's tags and times, and each audio or video
// stream's codec, times, format and aspect, read from the open file.
#include "FFDecode/CustomDecoder.h"
#include "FFDecode/StreamInfo.h"
#include "FFLoad/EntryPoints.h"
#include "FFUtils/FFOwners.h"
#include "FFUtils/FFUtils.h"

namespace {

// A stream whose time base has a zero denominator is repaired in the open file itself,
// so that every later reader converts with the same base.
void RepairTimeBase(AVStream* stream) {
  if (stream->time_base.den != 0) return;
  stream->time_base.den = stream->time_base.num != 0 ? stream->time_base.num : 1;
}

// Language, codec, times and bit rate; the stream's time base is repaired on the way.
void FillStreamInfo(AVStream* stream, TStreamInfo& info) {
  info.Language = GetMetadataValue(stream->metadata, "language", {});
  ff::CodecContextPtr codec = ff::CodecContextFromParameters(stream->codecpar);
  info.CodecName = codec ? GetCodecNameText(codec.get(), false) : std::string();
  info.StartTime = stream->start_time;
  RepairTimeBase(stream);
  if (info.StartTime != AV_NOPTS_VALUE)
    info.StartTimeUs = ff::avutil.av_rescale_q(info.StartTime, stream->time_base, MicrosecondTimeBase);
  info.Duration = stream->duration;
  if (info.Duration != AV_NOPTS_VALUE)
    info.DurationUs = ff::avutil.av_rescale_q(info.Duration, stream->time_base, MicrosecondTimeBase);
  info.BitRate = stream->codecpar->bit_rate;
}

}  // namespace

void TCustomDecoder::GetFileStreamInfo(TFileStreamInfo& info) {
  info = TFileStreamInfo{};
  AVFormatContext* context = FormatContext();
  if (!context) {
    ReportError(AV_LOG_WARNING, "file not loaded.");
    return;
  }
  info.StartTime = context->start_time;
  info.Duration = context->duration == AV_NOPTS_VALUE ? -1 : context->duration;
  info.BitRate = context->bit_rate;
  AVDictionary* metadata = context->metadata;
  info.Year = StrToIntOrZero(GetMetadataValue(metadata, "year", {}));
  info.Track = StrToIntOrZero(GetMetadataValue(metadata, "track", {}));
  info.Title = GetMetadataValue(metadata, "title", {});
  info.Author = GetMetadataValue(metadata, "author", {});
  info.Copyright = GetMetadataValue(metadata, "copyright", {});
  info.Comment = GetMetadataValue(metadata, "comment", {});
  info.Album = GetMetadataValue(metadata, "album", {});
  info.Genre = GetMetadataValue(metadata, "genre", {});
}

AVStream* TCustomDecoder::StreamOfKind(int index, AVMediaType kind) {
  AVFormatContext* context = FormatContext();
  if (!context) {
    ReportError(AV_LOG_WARNING, "file not loaded.");
    return nullptr;
  }
  const bool audio = kind == AVMEDIA_TYPE_AUDIO;
  if (index < 0) {
    index = audio ? FirstAudioStream() : FirstVideoStream();
    if (index < 0) {
      ReportError(AV_LOG_ERROR, audio ? "no audio stream." : "no video stream.");
      return nullptr;
    }
  } else if (static_cast<unsigned>(index) >= context->nb_streams) {
    ReportErrorFmt(AV_LOG_ERROR, "stream index #%d is invalid.", index);
    return nullptr;
  }
  AVStream* stream = context->streams[index];
  if (stream->codecpar->codec_type != kind) {
    ReportErrorFmt(AV_LOG_ERROR, audio ? "stream #%d is not audio stream." : "stream #%d is not video stream.", index);
    return nullptr;
  }
  return stream;
}

void TCustomDecoder::GetAudioStreamInfo(int index, TAudioStreamInfo& info) {
  info = TAudioStreamInfo{};
  AVStream* stream = StreamOfKind(index, AVMEDIA_TYPE_AUDIO);
  if (!stream) return;
  FillStreamInfo(stream, info);
  const AVCodecParameters* codec = stream->codecpar;
  info.Channels = codec->ch_layout.nb_channels;
  info.SampleRate = codec->sample_rate;
  info.SampleFormat = codec->format;
}

void TCustomDecoder::GetVideoStreamInfo(int index, TVideoStreamInfo& info) {
  info = TVideoStreamInfo{};
  AVStream* stream = StreamOfKind(index, AVMEDIA_TYPE_VIDEO);
  if (!stream) return;
  FillStreamInfo(stream, info);
  const AVCodecParameters* codec = stream->codecpar;
  info.Height = codec->height;
  info.Width = codec->width;
  info.SampleAspectRatio = stream->sample_aspect_ratio.num != 0 ? stream->sample_aspect_ratio
                                                                  : codec->sample_aspect_ratio;
  info.SampleAspect = static_cast<float>(static_cast<double>(info.SampleAspectRatio.num) /
                                         static_cast<double>(info.SampleAspectRatio.den));
  if (info.SampleAspectRatio.num != 0) {
    info.DisplayAspectRatio = DisplayAspectOf(info.Width, info.Height, info.SampleAspectRatio);
    info.DisplayAspect = static_cast<float>(static_cast<double>(info.DisplayAspectRatio.num) /
                                            static_cast<double>(info.DisplayAspectRatio.den));
  }
  info.PixelFormat = codec->format;
  const AVRational average = stream->avg_frame_rate;
  info.FrameRate = average.num != 0 && average.den != 0 ? average : stream->r_frame_rate;
}
