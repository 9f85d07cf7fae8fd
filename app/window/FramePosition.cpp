#include "window/FramePosition.h"

#include "FFDecode/FFDecoder.h"
#include "FFDecode/StreamReport.h"
#include "FFLoad/EntryPoints.h"

std::string FramePositionCaption(const TCurrentFrame& frame, std::int64_t duration) {
  std::string caption = PositionText(frame.FramePTS) + " / " + (duration >= 0 ? PositionText(duration) : "?");
  caption += frame.KeyFrame ? ", key frame (" : ", other frame (";
  caption += ff::avutil.av_get_picture_type_char(static_cast<AVPictureType>(frame.PictureType));
  return caption + ")";
}
