#include "support/FrameMedia.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/MediaFactory.h"

namespace fs = std::filesystem;

fs::path MakeH264Clip(const fs::path& output) {
  EXPECT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=3", "-c:v", "libx264", "-g", "25",
                       "-bf", "2", "-pix_fmt", "yuv420p", output.string()}),
            0);
  return output;
}

fs::path MakeTransportStreamClip(const fs::path& output) {
  EXPECT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=3", "-c:v", "libx264", "-g", "25",
                       "-bf", "2", "-pix_fmt", "yuv420p", "-output_ts_offset", "10", output.string()}),
            0);
  return output;
}

fs::path MakePictureFormatClip(const fs::path& output, const std::string& codec, const std::string& pixelFormat,
                               int width, int height) {
  const std::string source =
      "testsrc=size=" + std::to_string(width) + "x" + std::to_string(height) + ":rate=5:duration=1";
  EXPECT_EQ(RunFfmpeg({"-f", "lavfi", "-i", source, "-c:v", codec, "-pix_fmt", pixelFormat, output.string()}), 0)
      << codec << " " << pixelFormat;
  return output;
}

fs::path MakeTurnedClip(const fs::path& output, int width, int height, int rotate) {
  const fs::path coded = output.string() + ".coded.mp4";
  const std::string source = "testsrc=size=" + std::to_string(width) + "x" + std::to_string(height) + ":duration=0.04";
  EXPECT_EQ(RunFfmpeg({"-f", "lavfi", "-i", source, "-c:v", "libx264", "-pix_fmt", "yuv444p", "-qp", "0",
                       coded.string()}),
            0);
  // The tag becomes the display matrix only when the stream is copied.
  EXPECT_EQ(RunFfmpeg({"-i", coded.string(), "-c", "copy", "-metadata:s:v:0", "rotate=" + std::to_string(rotate),
                       output.string()}),
            0);
  fs::remove(coded);
  return output;
}

std::vector<std::string> ProbeFrames(const fs::path& file) {
  std::istringstream lines(CaptureTool("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                                   "frame=key_frame,pict_type", "-of", "csv=p=0", file.string()}));
  std::vector<std::string> frames;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;  // side data gives lines of their own
    const auto comma = line.find(',');
    frames.push_back(std::string(line.substr(0, comma) == "1" ? "K" : "-") + "\t" + line.substr(comma + 1, 1));
  }
  return frames;
}

std::string FirstFrameAsBgra(const fs::path& file) {
  return CaptureTool("ffmpeg", {"-v", "error", "-nostdin", "-i", file.string(), "-frames:v", "1", "-f", "rawvideo",
                                "-pix_fmt", "bgra", "-"});
}
