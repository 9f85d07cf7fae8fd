// Media files made at test time with the ffmpeg command.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

// Runs ffmpeg with `arguments` (after "-y -v error -nostdin") and returns its exit status.
// The last argument is the file it writes.
int RunFfmpeg(const std::vector<std::string>& arguments);
// Runs one of the ffmpeg tools (ffmpeg, ffprobe) and returns what it wrote to standard output.
std::string CaptureTool(const std::string& program, const std::vector<std::string>& arguments);

// A short clip: `video` adds a 64x48 test picture stream (1 second, 25 fps), `audio` adds a
// sine tone. `metadata` entries are "key=value" for the container (-metadata), `extra` is
// appended before the output name (for stream metadata, codecs, ...). Fails the current
// test when ffmpeg fails.
struct MediaSpec {
  bool video = true;
  bool audio = false;
  std::vector<std::string> metadata;
  std::vector<std::string> extra;
};
inline MediaSpec AudioOnly() {
  MediaSpec spec;
  spec.video = false;
  spec.audio = true;
  return spec;
}
inline MediaSpec VideoAndAudio() {
  MediaSpec spec;
  spec.audio = true;
  return spec;
}
std::filesystem::path MakeMedia(const std::filesystem::path& output, const MediaSpec& spec = {});

// Shorthand: a small MP4/MOV/MKV/M4A... (by extension) with a container creation time.
std::filesystem::path MakeMediaWithCreationTime(const std::filesystem::path& output,
                                                const std::string& creationTime);
