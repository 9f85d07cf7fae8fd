#include "FFDecode/StreamReport.h"

#include "FFDecode/CustomDecoder.h"
#include "Text/Format.h"

namespace {

// The length line of a stream: its duration is known unless it is the no-time-stamp value.
std::string LengthLine(const char* kind, std::int64_t duration, std::int64_t durationUs) {
  if (duration == AV_NOPTS_VALUE) return text::Format("  %s Length is not preseted", {kind});
  return text::Format("  %s Length: %s", {kind, PositionText(durationUs)});
}

std::string BitRateLine(const char* kind, std::int64_t bitRate) {
  if (bitRate >= 1) return text::Format("  %s Bit Rate: %d kb", {kind, bitRate / 1000});
  return text::Format("  %s Bit Rate is not preseted", {kind});
}

}  // namespace

std::string PositionText(std::int64_t microseconds) {
  const std::int64_t seconds = microseconds / 1000000;
  return text::Format("%.2d:%.2d:%.2d.%.3d", {seconds / 3600, (seconds / 60) % 60, seconds % 60,
                                              (microseconds % 1000000) * 1000 / 1000000});
}

std::vector<std::string> StreamReportLines(TCustomDecoder& decoder) {
  std::vector<std::string> lines;
  lines.push_back(text::Format("File Size: %d", {decoder.FileSize()}));
  TFileStreamInfo file;
  decoder.GetFileStreamInfo(file);
  lines.push_back(file.Duration == -1 ? std::string("File Duration is not preseted")
                                      : text::Format("File Duration: %s", {PositionText(file.Duration)}));
  for (int i = 0; i < decoder.StreamCount(); ++i) {
    if (decoder.IsVideoStream(i)) {
      lines.push_back(text::Format("Stream #%d: Video", {i}));
      TVideoStreamInfo video;
      decoder.GetVideoStreamInfo(i, video);
      lines.push_back(LengthLine("Video", video.Duration, video.DurationUs));
      lines.push_back(text::Format("  Video Frame Rate: %f", {static_cast<double>(video.FrameRate.num) /
                                                              static_cast<double>(video.FrameRate.den)}));
      lines.push_back(BitRateLine("Video", video.BitRate));
      lines.push_back(text::Format("  Frame size (width X height): %dx%d", {video.Width, video.Height}));
    } else if (decoder.IsAudioStream(i)) {
      lines.push_back(text::Format("Stream #%d: Audio", {i}));
      TAudioStreamInfo audio;
      decoder.GetAudioStreamInfo(i, audio);
      lines.push_back(LengthLine("Audio", audio.Duration, audio.DurationUs));
      lines.push_back(text::Format("  Audio Sample Rate: %d hz", {audio.SampleRate}));
      lines.push_back(BitRateLine("Audio", audio.BitRate));
    }
  }
  return lines;
}
