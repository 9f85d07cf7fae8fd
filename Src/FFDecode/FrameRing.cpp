#include "FFDecode/FrameRing.h"

#include "FFLoad/EntryPoints.h"

namespace {

// The bytes the frame's picture takes in its own format, counted as tight rows.
std::int64_t PictureBytes(const AVFrame& frame) {
  const int size =
      ff::avutil.av_image_get_buffer_size(static_cast<AVPixelFormat>(frame.format), frame.width, frame.height, 1);
  return size > 0 ? size : 0;
}

}  // namespace

bool TFrameRing::Push(const AVFrame& frame, const TFrameFacts& facts) {
  ff::FramePtr kept(ff::avutil.av_frame_alloc());
  if (!kept || ff::avutil.av_frame_ref(kept.get(), &frame) < 0) return false;
  const std::int64_t bytes = PictureBytes(frame);
  frames_.push_back(TKeptFrame{std::move(kept), facts, bytes});
  bytes_ += bytes;
  while (frames_.size() > kFewestKept && bytes_ > byteBound_) {
    bytes_ -= frames_.front().Bytes;
    frames_.pop_front();
    ++dropped_;
  }
  return true;
}

void TFrameRing::Clear() {
  frames_.clear();
  bytes_ = 0;
  dropped_ = 0;
}
