// The frames decoded last, kept as references to the decoder's own pictures, so that
// stepping back through them costs no decoding. The oldest go first once the pictures
// together would pass a byte bound.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>

#include "FFLoad/MediaHeaders.h"
#include "FFUtils/FFOwners.h"

// What a decoded frame carries besides its picture.
struct TFrameFacts {
  std::int64_t Time = AV_NOPTS_VALUE;       // microseconds from the stream's start
  std::int64_t PacketDTS = AV_NOPTS_VALUE;  // stream time base
  std::int64_t PacketPTS = AV_NOPTS_VALUE;  // stream time base
  int PacketStreamIndex = -1;
  std::int64_t PacketPosition = -1;  // bytes
};

struct TKeptFrame {
  ff::FramePtr Frame;
  TFrameFacts Facts;
  std::int64_t Bytes = 0;
};

class TFrameRing {
 public:
  // Enough for about 80 pictures of 1920x1080 in 8-bit 4:2:0.
  static constexpr std::int64_t kDefaultByteBound = std::int64_t{256} << 20;
  // The two newest frames stay whatever their size: a step back needs both.
  static constexpr std::size_t kFewestKept = 2;

  explicit TFrameRing(std::int64_t byteBound = kDefaultByteBound) : byteBound_(byteBound) {}

  // Takes effect from the next Push.
  void SetByteBound(std::int64_t byteBound) { byteBound_ = byteBound; }
  std::int64_t ByteBound() const { return byteBound_; }

  // Keeps a new reference to `frame`; false when out of memory (nothing changes then).
  bool Push(const AVFrame& frame, const TFrameFacts& facts);
  void Clear();
  std::size_t Size() const { return frames_.size(); }
  bool Empty() const { return frames_.empty(); }
  const TKeptFrame& operator[](std::size_t position) const { return frames_[position]; }
  // How many of the oldest frames were let go since the last Clear.
  std::size_t Dropped() const { return dropped_; }
  std::int64_t Bytes() const { return bytes_; }

 private:
  std::int64_t byteBound_;
  std::int64_t bytes_ = 0;
  std::size_t dropped_ = 0;
  std::deque<TKeptFrame> frames_;
};
