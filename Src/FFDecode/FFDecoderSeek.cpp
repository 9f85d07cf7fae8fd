// Seeking and the backward and key-frame steps of TFFDecoder.
#include <algorithm>
#include <iterator>
#include <limits>

#include "FFDecode/FFDecoder.h"
#include "FFDecode/SaturatingTime.h"
#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "FFUtils/FFUtils.h"
#include "Text/Format.h"

namespace {

constexpr const char* kClassName = "TFFDecoder";
constexpr const char* kSeekTag = "Seek()";
constexpr const char* kDecodeTag = "Decode() for video";
constexpr const char* kPreviousKeyFrameFailure = "Could not seek to the previous key-frame. ";
// Each round of a backward search seeks twice as far back as the one before, and the
// start of the stream ends it; this bounds inputs whose seeks land nowhere sound.
constexpr int kMostLandingRounds = 80;

bool Known(std::int64_t time) { return time != AV_NOPTS_VALUE; }

// The position of the newest kept frame before `anchor`.
std::size_t NewestBefore(const TFrameRing& kept, std::int64_t anchor) {
  std::size_t position = kept.Size() - 1;
  while (position > 0 && kept[position].Facts.Time >= anchor) --position;
  return position;
}

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

  // Such a stream is sought at its start, where its frame count begins; the frames up to
  // the target are then decoded. A raw stream has no times to seek by.
  if (SeeksOnlyToStart() && !flags.Has(sfByte)) {
    if (WithoutTimestamps()) flags = {sfByte};
    target = 0;
  }
  std::int64_t position = target;
  const bool videoStream = VideoStreamIndex_ >= 0 && VideoStreamIndex_ < StreamCount() &&
                           context->streams[VideoStreamIndex_]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
  // The start is sought half a frame early, so that the first frame is found whatever
  // rounding the container applied to its time; and, where frames are reordered, as many
  // frames earlier again as the reordering delays them, for containers that seek by
  // decoding time (MPEG-TS would otherwise land just behind the first key frame).
  if (target == 0 && !flags.Has(sfByte) && VideoFrameRate_.den != 0 && videoStream) {
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
  ForgetKeptFrames();
  LastDecodedTime_ = LastButOneDecodedTime_ = AV_NOPTS_VALUE;
  // A landing anywhere but the start may be a picture that needs others before it.
  AwaitKeyFrame_ = target != 0;
  LandingKeySent_ = false;

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
  TStepMessage message(*this);
  const std::int64_t from = Known(CurrentTime()) ? CurrentTime() : 0;
  // A later key frame among the kept frames.
  if (KeptPosition_ >= 0)
    for (std::size_t position = static_cast<std::size_t>(KeptPosition_) + 1; position < Kept_.Size(); ++position)
      if (Kept_[position].Frame->key_frame) return PresentKept(position);
  // A stream sought only at its start is read on from where the decoder stands.
  if (!SeeksOnlyToStart() || !Frame_.FrameReady) {
    // Where times may jump, a forward seek can land past the key frame after the jump:
    // such containers are sought backward and read on.
    const bool timesJump = (FormatContext()->iformat->flags & AVFMT_TS_DISCONT) != 0;
    const std::int64_t duration = FrameDuration();
    if (!Seek(timesJump ? TSeekFlags{sfBackward} : TSeekFlags{}, from > 0 ? satime::Add(from, duration) : duration))
      return false;
  }
  ForgetKeptFrames();
  // A landing before the current frame is read on to the first key frame after it.
  std::int64_t lastKey = AV_NOPTS_VALUE;
  while (ReadFrame(index)) {
    if (!DecodedFrame_->key_frame) continue;
    if (Decoded_.Time > from && Present(*DecodedFrame_, Decoded_)) return true;
    lastKey = Decoded_.Time;
  }
  // No key frame follows: the step stays on the last one (or goes back to it from the
  // frames after it), as the window's and the command line's key walks expect.
  if (!EndOfStream_) return false;
  if (!Known(lastKey)) {
    const auto after = KeyFrameTimes_.upper_bound(from);
    if (after == KeyFrameTimes_.begin()) return false;
    lastKey = *std::prev(after);
  }
  // The end of the stream is no failure of this step; it is told only if landing fails.
  const std::string end = LastErrMsg();
  SetLastErrMsg({});
  if (PresentKeyFrameAt(index, lastKey)) return true;
  if (LastErrMsg().empty()) SetLastErrMsg(end);
  return false;
}

bool TFFDecoder::PresentKeyFrameAt(int index, std::int64_t time) {
  if (LandBefore(index, time, true) != TLanding::Found) return false;
  while (Decoded_.Time < time)
    if (!ReadFrame(index)) return false;
  return PresentAlone();
}

TFFDecoder::TStepMessage::TStepMessage(TFFDecoder& decoder) : decoder_(decoder), earlier_(decoder.LastErrMsg()) {
  decoder_.SetLastErrMsg({});
}

TFFDecoder::TStepMessage::~TStepMessage() {
  if (decoder_.LastErrMsg().empty()) decoder_.SetLastErrMsg(std::move(earlier_));
}

bool TFFDecoder::PreviousKeyFrameFailed(std::int64_t reference) {
  std::string reason = LastErrMsg();
  if (reason.empty())
    reason = text::Format("no key frame lies before %0.3f seconds.", {static_cast<double>(reference) / 1000000.0});
  SetLastErrMsg(kPreviousKeyFrameFailure + reason);
  return false;
}

TFFDecoder::TLanding TFFDecoder::LandBefore(int index, std::int64_t limit, bool inclusive) {
  auto before = [&](std::int64_t time) { return Known(time) && (inclusive ? time <= limit : time < limit); };
  const std::int64_t duration = std::max<std::int64_t>(FrameDuration(), 1);
  // The latest key frame met before the limit is where a seek should land at once.
  std::int64_t target = satime::Subtract(limit, duration);
  auto known = inclusive ? KeyFrameTimes_.upper_bound(limit) : KeyFrameTimes_.lower_bound(limit);
  if (known != KeyFrameTimes_.begin()) target = *std::prev(known);
  std::int64_t back = duration;
  for (int round = 0; round < kMostLandingRounds; ++round) {
    const bool fromStart = target <= 0 || SeeksOnlyToStart();
    const bool landed = fromStart ? Seek({}, 0) : Seek({sfBackward}, target);
    if (landed && ReadFrame(index)) {
      if (before(Decoded_.Time)) return TLanding::Found;
      if (fromStart) return TLanding::NoneBefore;
      // Landed on or after the limit: a container that seeks by decoding time, or an
      // index that lacks the key frame sought. Go further back.
      if (Known(Decoded_.Time)) target = std::min(target, Decoded_.Time);
    } else if (fromStart) {
      return TLanding::Failed;
    }
    target = satime::Subtract(target, back);
    back = satime::Multiply(back, 2);
  }
  return TLanding::Failed;
}

TFFDecoder::TLanding TFFDecoder::KeepFramesBefore(int index, std::int64_t anchor, std::int64_t& lastKey) {
  const TLanding landing = LandBefore(index, anchor, false);
  if (landing != TLanding::Found) return landing;
  ForgetKeptFrames();
  // A landing may start on a packet the container flagged as a key frame that the
  // decoder does not count as one.
  lastKey = DecodedFrame_->key_frame ? Decoded_.Time : AV_NOPTS_VALUE;
  for (;;) {
    if (!Kept_.Push(*DecodedFrame_, Decoded_)) {
      ReportErrorFmt(AV_LOG_ERROR, "%s.%s: out of memory.", kClassName, kDecodeTag);
      return TLanding::Failed;
    }
    if (Decoded_.Time >= anchor) return TLanding::Found;
    if (DecodedFrame_->key_frame) lastKey = Decoded_.Time;
    // The end of the stream ends the run: the anchor was its last frame.
    if (!ReadFrame(index)) return TLanding::Found;
  }
}

bool TFFDecoder::PresentAlone() {
  ForgetKeptFrames();
  if (!Kept_.Push(*DecodedFrame_, Decoded_)) {
    ReportErrorFmt(AV_LOG_ERROR, "%s.%s: out of memory.", kClassName, kDecodeTag);
    return false;
  }
  return PresentKept(0);
}

bool TFFDecoder::DecodePreviousKeyFrame(int index) {
  index = SelectVideoStream(index);
  if (index < 0) return false;
  TStepMessage message(*this);
  for (std::ptrdiff_t position = KeptPosition_ - 1; position >= 0; --position)
    if (Kept_[static_cast<std::size_t>(position)].Frame->key_frame) return PresentKept(static_cast<std::size_t>(position));

  std::int64_t anchor = CurrentTime();
  if (!Known(anchor)) anchor = Known(FormatContext()->duration) ? FormatContext()->duration : 0;
  std::int64_t lastKey = AV_NOPTS_VALUE;
  const TLanding landing = KeepFramesBefore(index, anchor, lastKey);
  // The current frame is the stream's first key frame: it is its own previous one.
  if (landing == TLanding::NoneBefore && Decoded_.Time == anchor) return PresentAlone();
  if (landing != TLanding::Found) return PreviousKeyFrameFailed(anchor);
  for (std::size_t position = NewestBefore(Kept_, anchor) + 1; position-- > 0;)
    if (Kept_[position].Frame->key_frame) return PresentKept(position);

  // The run was longer than the frames kept: land on that key frame again.
  if (!Known(lastKey) || !PresentKeyFrameAt(index, lastKey)) return PreviousKeyFrameFailed(anchor);
  return true;
}

bool TFFDecoder::DecodePreviousFrame(int index) {
  index = SelectVideoStream(index);
  if (index < 0) return false;
  TStepMessage message(*this);
  if (KeptPosition_ > 0) return PresentKept(static_cast<std::size_t>(KeptPosition_) - 1);

  const std::int64_t anchor = CurrentTime();
  // Nothing was shown yet: the frame before the start is the first one.
  if (!Known(anchor)) return Seek({}, 0) && Decode(index);
  std::int64_t lastKey = AV_NOPTS_VALUE;
  const TLanding landing = KeepFramesBefore(index, anchor, lastKey);
  // The current frame is the stream's first: there is none before it.
  if (landing == TLanding::NoneBefore && Decoded_.Time == anchor) return PresentAlone();
  if (landing == TLanding::NoneBefore) ReportError(AV_LOG_ERROR, "could not find the frame before the current one.");
  if (landing != TLanding::Found) return false;
  return PresentKept(NewestBefore(Kept_, anchor));
}
