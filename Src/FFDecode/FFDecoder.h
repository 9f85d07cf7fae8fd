// TFFDecoder: the decoder core with video frame decoding. It decodes the next frame of a
// video stream into a picture buffer it owns, remembers the frame's time, seeks by time or
// by byte position, and steps to the previous frame and to the next or previous key frame.
// Everything runs on the caller's thread; one decoder serves one thread at a time.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>

#include "FFDecode/Bitmap.h"
#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FormatConverter.h"
#include "FFDecode/FrameRing.h"
#include "FFUtils/FFOwners.h"

enum TSeekFlag { sfBackward, sfByte, sfAny, sfFrame };

// A set of seek flags; the libraries get them as the bit values 1, 2, 4 and 8.
class TSeekFlags {
 public:
  constexpr TSeekFlags() = default;
  constexpr TSeekFlags(std::initializer_list<TSeekFlag> flags) {
    for (TSeekFlag flag : flags) bits_ |= 1 << flag;
  }
  constexpr bool Has(TSeekFlag flag) const { return (bits_ >> flag) & 1; }
  constexpr TSeekFlags Toggled(TSeekFlag flag) const {
    TSeekFlags result = *this;
    result.bits_ ^= 1 << flag;
    return result;
  }
  constexpr int LibraryFlags() const { return bits_; }

 private:
  int bits_ = 0;
};

// What the last successful step delivered. The picture's planes live in the decoder's
// frame buffer: valid until the next step, seek or close.
struct TCurrentFrame {
  int PixelFormat = -1;  // the decoder's native format
  int Width = -1;
  int Height = -1;
  bool KeyFrame = false;
  bool InterlacedFrame = false;
  bool TopFieldFirst = false;
  int PictureType = 0;                      // AV_PICTURE_TYPE_*
  std::int64_t FramePTS = AV_NOPTS_VALUE;   // microseconds from the stream's start
  std::int64_t PacketDTS = AV_NOPTS_VALUE;  // stream time base
  std::int64_t PacketPTS = AV_NOPTS_VALUE;  // stream time base
  int PacketStreamIndex = -1;
  std::int64_t PacketPosition = -1;      // bytes
  AVRational SampleAspectRatio{0, 1};    // 0/1 when unknown
  TPicture Picture;
  bool FrameReady = false;
};

class TFFDecoder : public TCustomDecoder {
 public:
  TFFDecoder();
  ~TFFDecoder() override;

  // The four steps; a negative index means the stream of the last step, else the file's
  // first video stream. True when a frame was delivered; on false LastErrMsg says why.
  // With no key frame after the current frame, the next key frame step delivers the last
  // key frame again (and the frames after it follow it).
  bool Decode(int index = -1);
  bool DecodePreviousFrame(int index = -1);
  bool DecodeNextKeyFrame(int index = -1);
  bool DecodePreviousKeyFrame(int index = -1);
  // `target` is microseconds from the start, or a byte position with sfByte.
  virtual bool Seek(TSeekFlags flags, std::int64_t target);

  // Converts the current frame into the converter's bitmap at width x height.
  bool Convert(int width, int height);
  // Converts as Convert does, then turns the bitmap upright as the stream's display matrix
  // says (UprightTurn): a picture turned a quarter turn is height x width.
  bool ConvertUpright(int width, int height);
  // The clockwise turn (0, 90, 180, 270) that stands the pictures of the stream of the last
  // step, else of the first video stream, upright; 0 without a file.
  int UprightTurn() const;
  // The current frame's size with its sample aspect applied to the width; 0 x 0 without a
  // frame.
  void DisplaySize(int& width, int& height) const;

  const TCurrentFrame& Frame() const { return Frame_; }
  std::int64_t FramePTS() const { return Frame_.FramePTS; }
  std::int64_t PrevFramePTS() const { return PrevFramePTS_; }
  int VideoStreamIndex() const { return VideoStreamIndex_; }
  AVRational VideoFrameRate() const { return VideoFrameRate_; }
  bool EndOfStream() const { return EndOfStream_; }
  bool Flushing() const { return Flushing_; }
  TFormatConverter& Converter() { return *Converter_; }

  // The memory that steps backward may keep decoded pictures in (bytes, as tight rows in
  // the decoder's own format). With more, a long run between key frames is decoded fewer
  // times; at least the two newest pictures are kept whatever their size.
  void SetKeptFramesBound(std::int64_t bytes) { Kept_.SetByteBound(bytes); }
  std::int64_t KeptFramesBound() const { return Kept_.ByteBound(); }

  // Deinterlace each decoded picture; switched off by the decoder when that fails.
  bool Deinterlace = false;

  void CloseFile() override;
  void RefreshFileInfo() override;

 protected:
  void ApplyOpenOptions(TFFOptions& options) override;
  // False (and "file not loaded.") without a file; throws EFFError for an attached context.
  bool CheckFileHandle();
  bool CanSeek();
  // The stream to step in, or -1 after reporting why there is none.
  int SelectVideoStream(int index);
  // The open decoder of the stream, or nullptr after reporting why.
  AVCodecContext* OpenVideoCodec(int index);
  // Hands a packet (nullptr: drain) to the decoder, then takes a frame as ReceiveFrame does.
  int DecodePacket(AVCodecContext* context, const AVPacket* packet);
  // 1 when a frame was taken (DecodedFrame_ and Decoded_), 2 when one was passed over
  // while a seek waits for its key frame, 0 when the decoder wants input, AVERROR_EOF when
  // it is drained, another negative value for a decoding error.
  int ReceiveFrame(AVCodecContext* context);
  // Deinterlaces the frame when asked and makes it the current one.
  bool Present(const AVFrame& frame, const TFrameFacts& facts);
  bool StoreFrame(const TPicture& picture, const AVFrame& frame, const TFrameFacts& facts);
  void ResetFrameInfo();
  // Ends a read that failed while draining: "stream eof reached." at the end of the input,
  // else "unknown error #%d.".
  bool EndOfInput(int readResult);
  // A source without an I/O context counts as ended.
  bool AtEndOfInput() const;

 private:
  struct PacketFacts {
    std::int64_t Pts = AV_NOPTS_VALUE;
    int StreamIndex = -1;
    int Flags = 0;
  };

  // How a search for a key frame before a given time ended.
  enum class TLanding { Found, NoneBefore, Failed };
  // While a step runs, LastErrMsg holds only what this step reports; a step that reports
  // nothing gives the earlier text back.
  class TStepMessage {
   public:
    explicit TStepMessage(TFFDecoder& decoder);
    ~TStepMessage();
    TStepMessage(const TStepMessage&) = delete;
    TStepMessage& operator=(const TStepMessage&) = delete;

   private:
    TFFDecoder& decoder_;
    std::string earlier_;
  };

  std::int64_t FrameDuration() const;
  bool IsImage2() const;
  // Containers whose packets carry no times (raw streams): frames are timed by counting.
  bool WithoutTimestamps() const;
  // Containers whose times are sound only when read from the start: raw streams, and AVI
  // without its index, whose frame count after a seek differs from a count from the
  // start. Every seek of them lands at the start.
  bool SeeksOnlyToStart() const;
  int SeekCall(TSeekFlags flags, std::int64_t target);
  bool PreviousKeyFrameFailed(std::int64_t reference);
  // Reads the next frame of the stream into DecodedFrame_ and Decoded_ without making it
  // the current one; false after reporting why there is none.
  bool ReadFrame(int index);
  // The time and packet facts of a frame just received; advances the decoding clock.
  TFrameFacts FactsOf(const AVFrame& frame);
  // Makes `time` the newest time of the decoding clock.
  void AdvanceClock(std::int64_t time);
  // A time of the stream's time base as microseconds from the stream's start.
  std::int64_t StreamTime(std::int64_t time) const;
  // The time of the current frame, else of the one before it, else no time stamp.
  std::int64_t CurrentTime() const;
  // Makes a kept frame the current one.
  bool PresentKept(std::size_t position);
  void ForgetKeptFrames();
  // Keeps the frame just read as the only one and makes it the current one.
  bool PresentAlone();
  // Seeks to a landing whose first key frame lies before `limit` (or at it when
  // `inclusive`) and reads that key frame. NoneBefore: even the stream's start gives a
  // later one (read, in Decoded_).
  TLanding LandBefore(int index, std::int64_t limit, bool inclusive);
  // Decodes from a key frame before `anchor` on to the first frame at or after it (or to
  // the end), keeping the frames; `lastKey` receives the time of the last key frame
  // before the anchor.
  TLanding KeepFramesBefore(int index, std::int64_t anchor, std::int64_t& lastKey);
  // Lands again on the key frame at `time` and makes it the only kept and the current
  // frame; false after reporting why it cannot (or with nothing said when no landing lies
  // at or before it).
  bool PresentKeyFrameAt(int index, std::int64_t time);
  // Frame and packet objects, made once the libraries are there; false when out of memory.
  bool EnsureWorkObjects();

  std::unique_ptr<TFormatConverter> Converter_;
  ff::CodecContextPtr VideoCodec_;
  int VideoCodecStream_ = -1;
  int VideoStreamIndex_ = -1;
  bool UnindexedCount_ = false;  // AVI without its index: see SeeksOnlyToStart
  AVRational VideoFrameRate_{0, 0};
  bool EndOfStream_ = false;
  bool Flushing_ = false;
  bool CodecDrained_ = false;  // the decoder gave its last frame after the end of input
  std::int64_t PrevFramePTS_ = AV_NOPTS_VALUE;
  TCurrentFrame Frame_;
  PacketFacts LastPacket_;
  ff::MemoryPtr FrameBuffer_;
  int FrameBufferSize_ = 0;
  ff::MemoryPtr DeinterlaceBuffer_;
  int DeinterlaceBufferSize_ = 0;
  ff::FramePtr DecodedFrame_;
  TFrameFacts Decoded_;
  ff::PacketPtr Packet_;
  // After a seek, frames are passed over until the decoder gives a key frame: a picture
  // decoded without its references is never shown or taken for a key frame.
  bool AwaitKeyFrame_ = false;
  // While waiting so, whether the packet of a key frame has been sent to the decoder.
  bool LandingKeySent_ = false;
  // The times of the last two frames decoded, for frames that come without one.
  std::int64_t LastDecodedTime_ = AV_NOPTS_VALUE;
  std::int64_t LastButOneDecodedTime_ = AV_NOPTS_VALUE;
  // Frames decoded in one run up to the newest, which the decoder stands just after;
  // KeptPosition_ is the current frame's place among them, -1 when it is not one of them.
  TFrameRing Kept_;
  std::ptrdiff_t KeptPosition_ = -1;
  // Times of the key frames met in the stream: where a backward search seeks first.
  std::set<std::int64_t> KeyFrameTimes_;
};

// The frame rate a stream steps with: the average rate when both its parts are non-zero;
// else the codec's rate when its time base and ticks per frame agree with the base rate;
// else the base rate. `codecTimeBase` 0/0 means the codec has none, which skips the
// comparison. `disagreement` receives the log line when the two disagree.
AVRational ChooseVideoFrameRate(int index, AVRational average, AVRational codecTimeBase, int ticksPerFrame,
                                AVRational baseRate, std::string& disagreement);
