#include "support/LookupMedia.h"

#include <fstream>

#include "support/MediaFactory.h"

namespace fs = std::filesystem;

namespace {

const std::string kStamp = "2015-06-01T10:20:30.000000Z";

MediaSpec Audio(std::vector<std::string> metadata, std::vector<std::string> extra = {}) {
  MediaSpec spec = AudioOnly();
  spec.metadata = std::move(metadata);
  spec.extra = std::move(extra);
  return spec;
}

MediaSpec Video(std::vector<std::string> metadata, std::vector<std::string> extra = {}) {
  MediaSpec spec;
  spec.metadata = std::move(metadata);
  spec.extra = std::move(extra);
  return spec;
}

}  // namespace

std::string PacketMetadataFile(const fs::path& folder) { return (folder / "packets.flv").string(); }

std::string HeaderMetadataFile(const fs::path& folder) { return (folder / "header.mp4").string(); }

std::vector<std::string> MakeLookupMedia(const fs::path& folder) {
  struct Made {
    const char* name;
    MediaSpec spec;
  };
  const std::string time = "creation_time=" + kStamp;
  const Made made[] = {
      {"header.mp4", Video({time})},
      {"packets.flv", Video({time})},
      {"a.mov", VideoAndAudio()},
      {"b.mkv", Video({"creation_time=2016-01-02T03:04:05Z"})},
      {"c.m4a", Audio({time})},
      {"caps.flac", Audio({"CREATION_TIME=2017-01-01 10:00"})},
      {"mixed.nut", Audio({"Creation_Time=2018"})},
      {"colon.nut", Audio({"creation_time=2017-01-01 : x : y"})},
      {"lines.nut", Audio({"creation_time=first line\nsecond line"})},
      {"stream-only.nut", Audio({}, {"-metadata:s:a:0", "creation_time=2016-01-02T03:04:05Z"})},
      {"comments.ogg", Audio({time})},
      {"no-time.mp4", Video({})},
      {"slash.mp4", Video({"creation_time=a/b"})},
  };
  std::vector<std::string> names;
  for (const Made& file : made) {
    const fs::path path = folder / file.name;
    if (!fs::exists(path)) MakeMedia(path, file.spec);
    names.push_back(path.string());
  }
  const fs::path garbage = folder / "garbage.mp4";
  const fs::path cut = folder / "cut.mp4";
  if (!fs::exists(garbage)) std::ofstream(garbage) << "not a media file at all";
  if (!fs::exists(cut)) fs::copy_file(folder / "header.mp4", cut), fs::resize_file(cut, fs::file_size(cut) / 3);
  fs::create_directories(folder / "folder.mp4");
  for (const char* name : {"garbage.mp4", "cut.mp4", "folder.mp4", "missing.mp4"})
    names.push_back((folder / name).string());
  return names;
}
