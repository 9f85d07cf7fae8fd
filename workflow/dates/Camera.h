// The camera that recorded a file, as the file names it: make and model, each empty when
// the file names none. Names use them (%{make}, %{model}) and a clock shift may follow the
// model.
#pragma once
#include <string>

struct AVFormatContext;

struct TCamera {
  std::string Make;
  std::string Model;

  bool operator==(const TCamera&) const = default;
};

// The camera an open container's metadata names: "com.apple.quicktime.make" (a phone's own
// entry) before a plain "make" (QuickTime's user data, Matroska's MAKE tag), the same for
// the model. Keys match in any letter case, as the libraries' dictionary does by default.
TCamera ContainerCamera(const AVFormatContext* context);
