#include "support/FrameSteps.h"

#include "FFLoad/EntryPoints.h"

std::ostream& operator<<(std::ostream& out, const Step& step) { return out << step.pts << " " << step.line; }

Step Current(const TFFDecoder& decoder) {
  const TCurrentFrame& frame = decoder.Frame();
  const char type = ff::avutil.av_get_picture_type_char(static_cast<AVPictureType>(frame.PictureType));
  return {frame.FramePTS, std::string(frame.KeyFrame ? "K" : "-") + "\t" + type};
}

std::vector<Step> StepForward(TFFDecoder& decoder) {
  std::vector<Step> steps;
  while (decoder.Decode()) steps.push_back(Current(decoder));
  return steps;
}

std::vector<std::string> Lines(const std::vector<Step>& steps) {
  std::vector<std::string> lines;
  for (const Step& step : steps) lines.push_back(step.line);
  return lines;
}

std::vector<Step> KeyFrames(const std::vector<Step>& steps) {
  std::vector<Step> keys;
  for (const Step& step : steps)
    if (step.line[0] == 'K') keys.push_back(step);
  return keys;
}

std::vector<Step> Reversed(const std::vector<Step>& steps) { return {steps.rbegin(), steps.rend()}; }
