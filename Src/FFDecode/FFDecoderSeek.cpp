// Seeking and the backward and key-frame steps of TFFDecoder.
#include <limits>

#include "FFDecode/FFDecoder.h"
#include "FFDecode/SaturatingTime.h"
#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "FFUtils/FFUtils.h"

namespace {

constexpr const char* kClassName = "TFFDecoder";
constexpr const char* kSeekTag = "Seek()";
constexpr const char* kPreviousKeyFrameFailure = "Could not seek to the previous key-frame. ";
// The backward search seeks one frame further back each round; no input, however
// damaged or unindexed, may keep it going longer than this.
constexpr std::int64_t kMostPreviousKeyFrameRounds = 1000;
// Seeks by time may land a few frames late where the container seeks by decoding time
// (the reorder delay of B-frames): the search goes this many frames beyond the start.
constexpr std::int64_t kFramesBeyondStart = 32;
// How often the backward frame step may come back to the frame it started from.
constexpr int kMostReferenceReturns = 3;

bool Known(std::int64_t time) { return time != AV_NOPTS_VALUE; }

}  // namespace

int TFFDecoder::SeekCall(TSeekFlags flags, std::int64_t target) {
  AVFormatContext* context = FormatContext();
  IOStartTime = ff::avutil.av_gettime();
  // Input formats with the newer seek entry take a range around the target.
  if (context->iformat->read_seek2)
    return ff::avformat.avformat_seek_file(context, VideoStreamIndex_, std::numeric_limits<std::int64_t>::min(), target,
                                           std::numeric_limits<std::int64_t>::max(), flags.LibraryFlags());
  return ff::avformat.av_seek_frame(context, VideoStreamIndex_, target, flags.LibraryFlags());
}

bool TFFDecoder::Seek(TSeekFlags flags, std::int64_t target) {
  if (!CanSeek()) return false;
  AVFormatContext* context = FormatContext();
  if (context->pb)
    DefaultLogger()->LogFmt(this, llDebug, "%s.%s: current position %d bytes", kClassName, kSeekTag,
                            ff::IOPosition(context->pb));

  std::int64_t position = target;
  const bool videoStream = VideoStreamIndex_ >= 0 && VideoStreamIndex_ < StreamCount() &&
                           context->streams[VideoStreamIndex_]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
  // The start is sought half a frame early, so that the first frame is found whatever
  // rounding the container applied to its time; and, where frames are reordered, as many
  // frames earlier again as the reordering delays them, for containers that seek by
  // decoding time (MPEG-TS would otherwise land just behind the first key frame).
  if (target == 0 && VideoFrameRate_.den != 0 && videoStream) {
    const int delay = context->streams[VideoStreamIndex_]->codecpar->video_delay;
    position = -(FrameDuration() / 2) - satime::Multiply(delay > 0 ? delay : 0, FrameDuration());
  }
  if (!flags.Has(sfByte)) {
    std::int64_t start = context->start_time;
    if (VideoStreamIndex_ != -1) {
      const AVStream* stream = context->streams[VideoStreamIndex_];
      position = satime::Rescale(position, MicrosecondTimeBase, stream->time_base);
      start = stream->start_time;
    }
    if (Known(start)) position = satime::Add(position, start);
  }

  if (VideoCodec_) ff::avcodec.avcodec_flush_buffers(VideoCodec_.get());
  EndOfStream_ = Flushing_ = CodecDrained_ = false;
  ResetFrameInfo();

  int result = SeekCall(flags, position);
  if (result < 0) result = SeekCall(flags.Toggled(sfBackward), position);
  if (result < 0) {
    if (flags.Has(sfByte))
      ReportErrorFmt(AV_LOG_ERROR, "%s.%s: could not seek to position %d bytes", kClassName, kSeekTag, target);
    else
      ReportErrorFmt(AV_LOG_ERROR, "%s.%s: could not seek to position %0.3f seconds", kClassName, kSeekTag,
                     static_cast<double>(target) / 1000000.0);
  }
  if (context->pb)
    DefaultLogger()->LogFmt(this, llDebug, "%s.%s: seek to position %d bytes", kClassName, kSeekTag,
                            ff::IOPosition(context->pb));
  return result >= 0;
}

bool TFFDecoder::DecodeNextKeyFrame(int index) {
  index = SelectVideoStream(index);
  if (index < 0) return false;
  const std::int64_t duration = FrameDuration();
  if (!Seek({}, Frame_.FramePTS > 0 ? satime::Add(Frame_.FramePTS, duration) : duration)) return false;
  return Decode(index);
}

bool TFFDecoder::PreviousKeyFrameFailed() {
  SetLastErrMsg(kPreviousKeyFrameFailure + LastErrMsg());
  return false;
}

bool TFFDecoder::DecodePreviousKeyFrame(int index) {
  index = SelectVideoStream(index);
  if (index < 0) return false;
  const std::int64_t duration = FrameDuration();
  AVFormatContext* context = FormatContext();
  std::int64_t reference = 0;
  if (Known(Frame_.FramePTS))
    reference = Frame_.FramePTS;
  else if (Known(PrevFramePTS_))
    reference = PrevFramePTS_;
  else if (Known(context->duration))
    reference = context->duration;

  // Byte positions tell a backward seek that did not move back far enough, so that such a
  // landing is not decoded: where the search started, before and after each seek, and the
  // landing already tried (-2: none yet, -1: the next landing is the one to remember).
  AVIOContext* io = context->pb;
  std::int64_t startPosition = io ? ff::IOPosition(io) : -1;
  std::int64_t before = -1;
  std::int64_t after = -1;
  std::int64_t tried = -2;
  std::int64_t frames = 1;
  for (std::int64_t round = 1;; ++round, ++frames) {
    if (round > kMostPreviousKeyFrameRounds) return PreviousKeyFrameFailed();
    const std::int64_t back = satime::Multiply(frames, duration);
    const bool outOfRoom = back > reference;
    const bool beyondStart = back > satime::Add(reference, satime::Multiply(kFramesBeyondStart, duration));
    if (io) before = ff::IOPosition(io);
    Seek({sfBackward}, satime::Subtract(reference, back));
    if (io) {
      after = ff::IOPosition(io);
      if (after >= startPosition && startPosition > 0 && after != before && !outOfRoom) continue;
      if (tried == -1)
        tried = after;
      else if (tried > 0 && after >= tried && !outOfRoom)
        continue;
    }
    if (tried == -2) tried = -1;

    // A landing that gave no frame before the reference lay after the key frame sought
    // (inputs whose seeks land between key frames): the next round goes twice as far back.
    if (!Decode(index)) {
      if (beyondStart) return PreviousKeyFrameFailed();
      if (EndOfStream_ || outOfRoom) frames = satime::Multiply(frames, 2) - 1;
      continue;
    }
    const std::int64_t found = Frame_.FramePTS;
    if (found < reference || found <= 0 || (found == reference && outOfRoom)) return true;
    // Even a seek before the start gave a frame after the reference: there is none before it.
    if (beyondStart) return PreviousKeyFrameFailed();
    frames = satime::Multiply(frames, 2) - 1;
    if (after < tried) tried = -1;
  }
}

bool TFFDecoder::DecodePreviousFrame(int index) {
  index = SelectVideoStream(index);
  if (index < 0) return false;
  const std::int64_t reference = Known(Frame_.FramePTS) ? Frame_.FramePTS : Known(PrevFramePTS_) ? PrevFramePTS_ : 0;
  const std::int64_t threshold = satime::Subtract(reference, satime::Multiply(2, FrameDuration()));
  std::int64_t best = AV_NOPTS_VALUE;
  if (!DecodePreviousKeyFrame(index)) return false;

  int referenceReturns = 0;
  for (;;) {
    if (Frame_.FramePTS > threshold) return true;
    if (!Decode(index)) return false;
    if (Frame_.FramePTS < reference) best = Frame_.FramePTS;
    if (Frame_.FramePTS != reference) continue;
    // The frame it started from came again before any frame after the threshold.
    if (++referenceReturns > kMostReferenceReturns) {
      ReportError(AV_LOG_ERROR, "could not find the frame before the current one.");
      return false;
    }
    if (!DecodePreviousKeyFrame(index)) continue;
    if (!Known(best)) return true;
    while (Decode(index) && Frame_.FramePTS < best) {
    }
    return true;
  }
}
