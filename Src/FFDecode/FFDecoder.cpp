#include "FFDecode/FFDecoder.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "FFDecode/Deinterlace.h"
#include "FFDecode/DisplayRotation.h"
#include "FFDecode/SaturatingTime.h"
#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "Base/FFError.h"
#include "FFUtils/FFUtils.h"

namespace {

constexpr const char* kClassName = "TFFDecoder";
constexpr const char* kDecodeTag = "Decode() for video";
// A draining decoder gives each delayed frame once; this many errors in a row mean it has
// nothing sound left to give.
constexpr int kMostDrainErrors = 64;

bool IsNonZero(AVRational rate) { return rate.num != 0 && rate.den != 0; }

TPicture PictureOf(const AVFrame& frame) {
  TPicture picture;
  for (int plane = 0; plane < 4; ++plane) {
    picture.Data[plane] = frame.data[plane];
    picture.Linesize[plane] = frame.linesize[plane];
  }
  picture.Format = static_cast<AVPixelFormat>(frame.format);
  picture.Width = frame.width;
  picture.Height = frame.height;
  return picture;
}

// The picture record of `format` at width x height laid out over `buffer`, as tight rows.
TPicture LayOut(std::uint8_t* buffer, AVPixelFormat format, int width, int height) {
  TPicture picture;
  picture.Format = format;
  picture.Width = width;
  picture.Height = height;
  ff::avutil.av_image_fill_arrays(picture.Data, picture.Linesize, buffer, format, width, height, 1);
  return picture;
}

// The bytes a tight picture needs, or a negative error code when the libraries refuse it.
int PictureSize(AVPixelFormat format, int width, int height) {
  if (width <= 0 || height <= 0) return AVERROR(EINVAL);
  const int checked =
      ff::avutil.av_image_check_size(static_cast<unsigned>(width), static_cast<unsigned>(height), 0, nullptr);
  if (checked < 0) return checked;
  return ff::avutil.av_image_get_buffer_size(format, width, height, 1);
}

// Grows `buffer` to at least `size` bytes; it never shrinks. False when out of memory.
bool GrowBuffer(ff::MemoryPtr& buffer, int& recordedSize, int size) {
  if (buffer && recordedSize >= size) return true;
  buffer.reset();
  recordedSize = 0;
  buffer.reset(static_cast<std::uint8_t*>(ff::avutil.av_malloc(static_cast<std::size_t>(size))));
  if (!buffer) return false;
  recordedSize = size;
  return true;
}

}  // namespace

AVRational ChooseVideoFrameRate(int index, AVRational average, AVRational codecTimeBase, int ticksPerFrame,
                                AVRational baseRate, std::string& disagreement) {
  disagreement.clear();
  if (IsNonZero(average)) return average;
  if (!IsNonZero(codecTimeBase)) return baseRate;
  if (codecTimeBase.num == baseRate.den && std::int64_t{codecTimeBase.den} == std::int64_t{ticksPerFrame} * baseRate.num)
    return AVRational{codecTimeBase.den, codecTimeBase.num};
  disagreement = text::Format(
      "Seems stream %d codec frame rate differs from container frame rate: %2.2f (%d/%d) -> %2.2f (%d/%d)",
      {index, static_cast<double>(codecTimeBase.den) / codecTimeBase.num, codecTimeBase.den, codecTimeBase.num,
       static_cast<double>(baseRate.num) / baseRate.den, baseRate.num, baseRate.den});
  return baseRate;
}

TFFDecoder::TFFDecoder() : Converter_(std::make_unique<TFormatConverter>()) {}

// The core's destructor reaches only its own CloseFile; the decoding state goes first.
TFFDecoder::~TFFDecoder() { TFFDecoder::CloseFile(); }

void TFFDecoder::RefreshFileInfo() { TCustomDecoder::RefreshFileInfo(); }

void TFFDecoder::CloseFile() {
  VideoStreamIndex_ = -1;
  UnindexedCount_ = false;
  VideoFrameRate_ = AVRational{0, 0};
  EndOfStream_ = Flushing_ = CodecDrained_ = false;
  ResetFrameInfo();
  PrevFramePTS_ = AV_NOPTS_VALUE;
  ForgetKeptFrames();
  KeyFrameTimes_.clear();
  AwaitKeyFrame_ = false;
  LastDecodedTime_ = LastButOneDecodedTime_ = AV_NOPTS_VALUE;
  VideoCodec_.reset();
  VideoCodecStream_ = -1;
  TCustomDecoder::CloseFile();
}

void TFFDecoder::ApplyOpenOptions(TFFOptions& options) {
  // Without a scaler option context, or when it cannot say, the flags stay as they are.
  if (!options.SwsOptions) return;
  std::int64_t flags = -1;
  if (ff::avutil.av_opt_get_int(options.SwsOptions, "sws_flags", 0, &flags) < 0) return;
  if (flags >= 0 && flags <= INT32_MAX) Converter_->ScalerFlags = static_cast<std::int32_t>(flags);
}

void TFFDecoder::ResetFrameInfo() {
  if (Frame_.FramePTS != AV_NOPTS_VALUE) PrevFramePTS_ = Frame_.FramePTS;
  Frame_ = TCurrentFrame{};
}

std::int64_t TFFDecoder::FrameDuration() const { return FrameDurationFromRate(VideoFrameRate_); }

bool TFFDecoder::WithoutTimestamps() const {
  const AVFormatContext* context = FormatContext();
  if (!context || !context->iformat) return false;
  if (context->iformat->flags & AVFMT_NOTIMESTAMPS) return true;
  // A raw stream's demuxer may not say so; its probe then found no time at all.
  const int index = VideoStreamIndex_ >= 0 ? VideoStreamIndex_ : FirstVideoStream();
  return index >= 0 && index < StreamCount() && context->streams[index]->start_time == AV_NOPTS_VALUE &&
         context->start_time == AV_NOPTS_VALUE;
}

bool TFFDecoder::SeeksOnlyToStart() const { return UnindexedCount_ || WithoutTimestamps(); }

std::int64_t TFFDecoder::CurrentTime() const {
  if (Frame_.FrameReady && Frame_.FramePTS != AV_NOPTS_VALUE) return Frame_.FramePTS;
  return PrevFramePTS_;
}

void TFFDecoder::ForgetKeptFrames() {
  Kept_.Clear();
  KeptPosition_ = -1;
}

bool TFFDecoder::IsImage2() const {
  const AVFormatContext* context = FormatContext();
  return context && context->iformat && ff::avutil.av_strcasecmp(context->iformat->name, "image2") == 0;
}

bool TFFDecoder::CheckFileHandle() {
  if (!FormatContext()) {
    ReportError(AV_LOG_WARNING, "file not loaded.");
    return false;
  }
  if (!OwnsFormatContext()) {
    ReportError(AV_LOG_WARNING, "file cannot be seeked, handle is readonly.");
    throw EFFError(LastErrMsg());
  }
  return true;
}

bool TFFDecoder::CanSeek() {
  if (!CheckFileHandle()) return false;
  if (IsImage2()) {
    ReportError(AV_LOG_INFO, "\"image2\" format cannot to be seeked.");
    return false;
  }
  return true;
}

int TFFDecoder::SelectVideoStream(int index) {
  if (!CheckFileHandle()) return -1;
  if (index < 0) {
    index = VideoStreamIndex_ >= 0 ? VideoStreamIndex_ : FirstVideoStream();
    if (index < 0) {
      ReportError(AV_LOG_ERROR, "no video stream.");
      return -1;
    }
  } else if (index >= StreamCount()) {
    ReportErrorFmt(AV_LOG_ERROR, "stream index #%d is invalid.", index);
    return -1;
  } else if (FormatContext()->streams[index]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
    ReportErrorFmt(AV_LOG_ERROR, "stream #%d is not video stream.", index);
    return -1;
  }
  if (index != VideoStreamIndex_) {
    ResetFrameInfo();
    const AVStream* stream = FormatContext()->streams[index];
    // Each stream's decoder is made from its parameters and carries no codec time base,
    // so the codec's own rate cannot be asked for.
    std::string disagreement;
    VideoFrameRate_ =
        ChooseVideoFrameRate(index, stream->avg_frame_rate, AVRational{0, 0}, 1, stream->r_frame_rate, disagreement);
    if (!disagreement.empty()) DefaultLogger()->Log(this, llInfo, disagreement);
    VideoCodec_.reset();
    VideoCodecStream_ = -1;
    VideoStreamIndex_ = index;
    ForgetKeptFrames();
    KeyFrameTimes_.clear();
    LastDecodedTime_ = LastButOneDecodedTime_ = AV_NOPTS_VALUE;
    // An AVI index lists every frame; without it the container counts the frames it reads.
    UnindexedCount_ = ff::avutil.av_strcasecmp(FormatContext()->iformat->name, "avi") == 0 &&
                      ff::avformat.avformat_index_get_entries_count(stream) < stream->nb_frames;
  }
  return index;
}

AVCodecContext* TFFDecoder::OpenVideoCodec(int index) {
  AVStream* stream = FormatContext()->streams[index];
  const AVCodecParameters* parameters = stream->codecpar;
  if (parameters->width == 0 || parameters->height == 0) {
    ReportError(AV_LOG_ERROR, "frame size of codec is invalid.");
    return nullptr;
  }
  if (VideoCodec_ && VideoCodecStream_ == index) return VideoCodec_.get();
  VideoCodec_.reset();
  VideoCodecStream_ = -1;

  const AVCodec* decoder = ff::avcodec.avcodec_find_decoder(parameters->codec_id);
  if (!decoder) {
    ReportErrorFmt(AV_LOG_ERROR, "Unsupported codec (id=%d) for input file stream #%d",
                   static_cast<int>(parameters->codec_id), index);
    return nullptr;
  }
  ff::CodecContextPtr context = ff::CodecContextFromParameters(parameters);
  if (!context) {
    ReportErrorFmt(AV_LOG_ERROR, "Error while opening codec for input file stream #%d", index);
    return nullptr;
  }
  context->pkt_timebase = stream->time_base;
  context->thread_count = 1;
  AVDictionary* options =
      FilterCodecOptions(Options().CodecOptions, parameters->codec_id, FormatContext(), stream, decoder);
  const int opened = ff::avcodec.avcodec_open2(context.get(), decoder, &options);
  ff::DictionaryPtr unused(options);
  if (opened < 0) {
    ReportErrorFmt(AV_LOG_ERROR, "Error while opening codec for input file stream #%d", index);
    return nullptr;
  }
  VideoCodec_ = std::move(context);
  VideoCodecStream_ = index;
  return VideoCodec_.get();
}

bool TFFDecoder::EnsureWorkObjects() {
  if (!DecodedFrame_) DecodedFrame_.reset(ff::avutil.av_frame_alloc());
  if (!Packet_) Packet_.reset(ff::avcodec.av_packet_alloc());
  if (DecodedFrame_ && Packet_) return true;
  ReportErrorFmt(AV_LOG_ERROR, "%s.%s: out of memory.", kClassName, kDecodeTag);
  return false;
}

bool TFFDecoder::Decode(int index) {
  index = SelectVideoStream(index);
  if (index < 0) return false;
  // A still picture keeps delivering the picture it has.
  if (Frame_.FrameReady && IsImage2()) return true;
  // After steps back the kept frames come first; the decoder stands after the newest.
  if (KeptPosition_ >= 0 && static_cast<std::size_t>(KeptPosition_) + 1 < Kept_.Size())
    return PresentKept(static_cast<std::size_t>(KeptPosition_) + 1);
  ForgetKeptFrames();
  for (;;) {
    if (!ReadFrame(index)) return false;
    // A frame that cannot be stored is passed over.
    if (Present(*DecodedFrame_, Decoded_)) return true;
  }
}

bool TFFDecoder::ReadFrame(int index) {
  if (EndOfStream_ && Flushing_) {
    ReportErrorFmt(AV_LOG_INFO, "%s.%s: stream eof reached.", kClassName, kDecodeTag);
    return false;
  }
  AVCodecContext* context = OpenVideoCodec(index);
  if (!context || !EnsureWorkObjects()) return false;

  int drainErrors = 0;
  for (;;) {
    // Frames the decoder still holds come before another packet is read.
    if (!CodecDrained_) {
      const int received = ReceiveFrame(context);
      if (received == 1) return true;
      if (received == 2) continue;
      if (received == AVERROR_EOF) {
        CodecDrained_ = true;
      } else if (Flushing_) {
        if (received == 0 || ++drainErrors > kMostDrainErrors) CodecDrained_ = true;
        continue;
      }
    }

    IOStartTime = ff::avutil.av_gettime();
    const int read = ff::avformat.av_read_frame(FormatContext(), Packet_.get());
    if (read == AVERROR(EAGAIN)) {
      ReportErrorFmt(AV_LOG_INFO, "%s.%s: no data, please try again.", kClassName, kDecodeTag);
      return false;
    }
    if (read < 0) {
      if (Flushing_) return EndOfInput(read);
      // The input ended (or failed) for the first time: drain the decoder's delayed frames.
      Flushing_ = true;
      CodecDrained_ = false;
      if (DecodePacket(context, nullptr) == 1) return true;
      continue;
    }
    struct Unref {
      AVPacket* packet;
      ~Unref() { ff::avcodec.av_packet_unref(packet); }
    } unref{Packet_.get()};
    if (Packet_->stream_index != index) continue;
    if (Flushing_) {
      // The input delivers again after a failure: the drained decoder starts afresh.
      ff::avcodec.avcodec_flush_buffers(context);
      Flushing_ = CodecDrained_ = false;
    }
    // A packet the decoder refuses is passed over.
    if (DecodePacket(context, Packet_.get()) == 1) return true;
  }
}

int TFFDecoder::DecodePacket(AVCodecContext* context, const AVPacket* packet) {
  LastPacket_ = packet ? PacketFacts{packet->pts, packet->stream_index, packet->flags}
                       : PacketFacts{AV_NOPTS_VALUE, VideoStreamIndex_, 0};
  // The decoder hands this value on to the frames the packet starts: whether the
  // container flagged the packet as a key frame.
  context->reordered_opaque = packet && (packet->flags & AV_PKT_FLAG_KEY) ? 1 : 0;
  // After a seek the decoder drops the frames that follow the landing key frame but lack
  // an earlier reference (B-frames in AVI, shown before it): their packets' times still
  // advance the clock, so that the key frame, when released without a time, is timed as
  // in a walk from the start. Packets before the landing key frame tell nothing of it.
  if (AwaitKeyFrame_ && packet) {
    if (LandingKeySent_ && packet->pts != AV_NOPTS_VALUE) AdvanceClock(StreamTime(packet->pts));
    if (packet->flags & AV_PKT_FLAG_KEY) LandingKeySent_ = true;
  }
  const int sent = ff::avcodec.avcodec_send_packet(context, packet);
  if (sent < 0 && sent != AVERROR(EAGAIN) && sent != AVERROR_EOF) return sent;
  return ReceiveFrame(context);
}

bool TFFDecoder::EndOfInput(int readResult) {
  if (readResult != AVERROR(EPIPE) && readResult != AVERROR_EOF && !AtEndOfInput()) {
    ReportErrorFmt(AV_LOG_INFO, "%s.%s: unknown error #%d.", kClassName, kDecodeTag, readResult);
    return false;
  }
  ReportErrorFmt(AV_LOG_INFO, "%s.%s: stream eof reached.", kClassName, kDecodeTag);
  EndOfStream_ = true;
  return false;
}

// A source without an I/O context (a format that reads no file) has nothing more to give.
bool TFFDecoder::AtEndOfInput() const {
  AVIOContext* io = FormatContext()->pb;
  return !io || ff::avformat.avio_feof(io) != 0;
}

int TFFDecoder::ReceiveFrame(AVCodecContext* context) {
  AVFrame* frame = DecodedFrame_.get();
  ff::avutil.av_frame_unref(frame);
  const int received = ff::avcodec.avcodec_receive_frame(context, frame);
  if (received == AVERROR(EAGAIN)) return 0;
  if (received < 0) return received;

  DefaultLogger()->LogFmt(this, llDebug, "pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d(%s)",
                          LastPacket_.StreamIndex, frame->pkt_dts, LastPacket_.Pts, LastPacket_.Flags,
                          static_cast<int>(frame->pict_type), PictureTypeToStr(frame->pict_type));
  Decoded_ = FactsOf(*frame);
  if (AwaitKeyFrame_ && frame->key_frame == 0 && frame->reordered_opaque != 1) return 2;
  AwaitKeyFrame_ = false;
  if (frame->key_frame != 0 && Decoded_.Time != AV_NOPTS_VALUE) KeyFrameTimes_.insert(Decoded_.Time);
  return 1;
}

TFrameFacts TFFDecoder::FactsOf(const AVFrame& frame) {
  TFrameFacts facts;
  facts.PacketDTS = frame.pkt_dts;
  facts.PacketPTS = LastPacket_.Pts;
  facts.PacketStreamIndex = LastPacket_.StreamIndex;
  facts.PacketPosition = frame.pkt_pos;

  // The libraries' best guess of the frame's presentation time first: the decoding time
  // a frame carries is that of the packet that released it, which for delayed frames
  // belongs to a later frame (across a jump in the times, to another clip). Then the
  // frame's own time, the decoding time, the time of the packet sent last.
  std::int64_t candidate = frame.best_effort_timestamp;
  if (candidate == AV_NOPTS_VALUE) candidate = frame.pts != AV_NOPTS_VALUE ? frame.pts : frame.pkt_dts;
  if (candidate == AV_NOPTS_VALUE) candidate = LastPacket_.Pts;
  const bool clockKnown = LastDecodedTime_ != AV_NOPTS_VALUE;
  if (candidate != AV_NOPTS_VALUE) {
    facts.Time = StreamTime(candidate);
    DefaultLogger()->LogFmt(this, llDebug, "decode PTS: %0.3f", static_cast<double>(facts.Time) / 1000000.0);
  } else if (clockKnown && Flushing_ && LastButOneDecodedTime_ != AV_NOPTS_VALUE) {
    // A delayed frame keeps the step between the two frames before it.
    facts.Time = satime::Add(LastDecodedTime_, satime::Subtract(LastDecodedTime_, LastButOneDecodedTime_));
  } else if (clockKnown) {
    facts.Time = satime::Add(LastDecodedTime_, FrameDuration());
  } else if (WithoutTimestamps()) {
    // A stream without times counts frames from its start, where every seek of it lands.
    facts.Time = 0;
  }
  AdvanceClock(facts.Time);
  return facts;
}

void TFFDecoder::AdvanceClock(std::int64_t time) {
  LastButOneDecodedTime_ = LastDecodedTime_;
  LastDecodedTime_ = time;
}

std::int64_t TFFDecoder::StreamTime(std::int64_t time) const {
  const AVStream* stream = FormatContext()->streams[VideoStreamIndex_];
  if (stream->start_time != AV_NOPTS_VALUE) time = satime::Subtract(time, stream->start_time);
  return satime::Rescale(time, stream->time_base, MicrosecondTimeBase);
}

bool TFFDecoder::Present(const AVFrame& frame, const TFrameFacts& facts) {
  const TPicture decoded = PictureOf(frame);
  TPicture chosen = decoded;
  if (Deinterlace) {
    const int size = PictureSize(decoded.Format, decoded.Width, decoded.Height);
    if (size <= 0 || !GrowBuffer(DeinterlaceBuffer_, DeinterlaceBufferSize_, size)) {
      DefaultLogger()->Log(this, llError, "deinterlace buffer malloc error.");
      Deinterlace = false;
    } else {
      const TPicture copy = LayOut(DeinterlaceBuffer_.get(), decoded.Format, decoded.Width, decoded.Height);
      if (DeinterlacePicture(decoded, copy)) {
        chosen = copy;
      } else {
        DefaultLogger()->Log(this, llError, "deinterlacing failed.");
        Deinterlace = false;
      }
    }
  }
  return StoreFrame(chosen, frame, facts);
}

bool TFFDecoder::PresentKept(std::size_t position) {
  const TKeptFrame& kept = Kept_[position];
  if (!Present(*kept.Frame, kept.Facts)) {
    ReportErrorFmt(AV_LOG_ERROR, "%s.%s: the frame at %0.3f seconds cannot be stored.", kClassName, kDecodeTag,
                   static_cast<double>(kept.Facts.Time) / 1000000.0);
    return false;
  }
  KeptPosition_ = static_cast<std::ptrdiff_t>(position);
  return true;
}

bool TFFDecoder::StoreFrame(const TPicture& picture, const AVFrame& frame, const TFrameFacts& facts) {
  const int size = PictureSize(picture.Format, picture.Width, picture.Height);
  if (size <= 0) {
    DefaultLogger()->LogFmt(this, llError, "%s.%s: a picture of %dx%d cannot be stored: %s", kClassName, kDecodeTag,
                            picture.Width, picture.Height, GetErrorText({}, size < 0 ? size : AVERROR(EINVAL)));
    return false;
  }
  if (!GrowBuffer(FrameBuffer_, FrameBufferSize_, size)) {
    DefaultLogger()->LogFmt(this, llError, "%s.%s: no memory for a picture of %d bytes.", kClassName, kDecodeTag,
                            size);
    return false;
  }

  Frame_.PixelFormat = picture.Format;
  Frame_.Width = picture.Width;
  Frame_.Height = picture.Height;
  Frame_.KeyFrame = frame.key_frame != 0;
  Frame_.InterlacedFrame = frame.interlaced_frame != 0;
  Frame_.TopFieldFirst = frame.top_field_first != 0;
  Frame_.PictureType = frame.pict_type;
  Frame_.SampleAspectRatio = frame.sample_aspect_ratio;
  if (Frame_.FramePTS != AV_NOPTS_VALUE) PrevFramePTS_ = Frame_.FramePTS;
  Frame_.FramePTS = facts.Time;
  Frame_.PacketDTS = facts.PacketDTS;
  Frame_.PacketPTS = facts.PacketPTS;
  Frame_.PacketStreamIndex = facts.PacketStreamIndex;
  Frame_.PacketPosition = facts.PacketPosition;

  Frame_.Picture = LayOut(FrameBuffer_.get(), picture.Format, picture.Width, picture.Height);
  const std::uint8_t* source[4] = {picture.Data[0], picture.Data[1], picture.Data[2], picture.Data[3]};
  ff::avutil.av_image_copy(Frame_.Picture.Data, Frame_.Picture.Linesize, source, picture.Linesize, picture.Format,
                           picture.Width, picture.Height);
  Frame_.FrameReady = true;
  KeptPosition_ = -1;
  return true;
}

bool TFFDecoder::Convert(int width, int height) {
  if (!Frame_.FrameReady) {
    ReportError(AV_LOG_ERROR, "no frame decoded.");
    return false;
  }
  std::string error;
  if (!Converter_->Convert(Frame_.Picture, width, height, error)) {
    ReportError(AV_LOG_ERROR, error);
    return false;
  }
  return true;
}

bool TFFDecoder::ConvertUpright(int width, int height) {
  if (!Convert(width, height)) return false;
  if (const int turn = UprightTurn(); turn != 0)
    Converter_->Bitmap() = TurnedClockwise(Converter_->Bitmap(), turn);
  return true;
}

int TFFDecoder::UprightTurn() const {
  const AVFormatContext* context = FormatContext();
  if (!context) return 0;
  int index = VideoStreamIndex_;
  for (unsigned i = 0; index < 0 && i < context->nb_streams; ++i)
    if (context->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) index = static_cast<int>(i);
  if (index < 0 || static_cast<unsigned>(index) >= context->nb_streams) return 0;
  return ClockwiseTurnOf(*context->streams[index]);
}

void TFFDecoder::DisplaySize(int& width, int& height) const {
  width = height = 0;
  if (!Frame_.FrameReady) return;
  width = Frame_.Width;
  height = Frame_.Height;
  AVRational aspect = Frame_.SampleAspectRatio;
  if (aspect.num <= 0 || aspect.den <= 0) {
    const AVStream* stream = VideoStreamIndex_ >= 0 && FormatContext() ? FormatContext()->streams[VideoStreamIndex_]
                                                                        : nullptr;
    aspect = stream ? stream->sample_aspect_ratio : AVRational{0, 1};
  }
  if (aspect.num <= 0 || aspect.den <= 0) return;
  const double scaled = std::round(static_cast<double>(width) * aspect.num / aspect.den);
  width = static_cast<int>(std::min(std::max(scaled, 1.0), 16384.0));
}
