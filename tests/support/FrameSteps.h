// A decoder's frames as the tests compare them: time, key flag and picture type.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "FFDecode/FFDecoder.h"

struct Step {
  std::int64_t pts;
  std::string line;  // "K" or "-", a tab, the picture type letter
  bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& step);

// The decoder's current frame.
Step Current(const TFFDecoder& decoder);
// Every frame Decode gives from where the decoder stands to the end.
std::vector<Step> StepForward(TFFDecoder& decoder);
// The lines of the steps, without their times.
std::vector<std::string> Lines(const std::vector<Step>& steps);
// The key frames among the steps.
std::vector<Step> KeyFrames(const std::vector<Step>& steps);
std::vector<Step> Reversed(const std::vector<Step>& steps);
