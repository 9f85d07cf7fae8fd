#include "cli/InspectCommands.h"

#include <cstdlib>
#include <ostream>

#include "cli/CliRunner.h"
#include "cli/OpenMediaFile.h"
#include "FFDecode/FFDecoder.h"
#include "FFDecode/PictureFile.h"
#include "FFDecode/StreamReport.h"
#include "FFLoad/EntryPoints.h"
#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

struct FramesOptions {
  bool backward = false;
  bool keys = false;
  std::string file;
};

int Usage(std::ostream& err, const std::string& problem) {
  err << "morvane-cli: " << problem << "\nTry 'morvane-cli --help'.\n";
  return ExitUsageOrLibraries;
}

// Opens FILE after loading the libraries; writes the reason and gives the exit status on
// failure, or -1 when the file is open.
int OpenFile(const std::string& fileName, TFFDecoder& decoder, std::ostream& err) {
  if (!decoder.LibrariesLoaded() && !decoder.LoadLibraries(GetExeFolder() + u"LibAV")) {
    err << decoder.LastErrMsg() << '\n';
    return ExitUsageOrLibraries;
  }
  return OpenMediaFile(fileName, decoder, err) ? -1 : ExitFailure;
}

void WriteFrameLine(const TFFDecoder& decoder, std::ostream& out) {
  const TCurrentFrame& frame = decoder.Frame();
  const char type = ff::avutil.av_get_picture_type_char(static_cast<AVPictureType>(frame.PictureType));
  out << frame.FramePTS << '\t' << (frame.KeyFrame ? 'K' : '-') << '\t' << type << '\n';
}

// Leaves the stream's last frame as the current one: from the last key frame before the
// file's end, or from the start when that seek gives nothing.
bool GoToLastFrame(TFFDecoder& decoder) {
  TFileStreamInfo file;
  decoder.GetFileStreamInfo(file);
  bool any = false;
  if (file.Duration > 0 && decoder.Seek({sfBackward}, file.Duration))
    while (decoder.Decode()) any = true;
  if (any) return true;
  decoder.Seek({}, 0);
  while (decoder.Decode()) any = true;
  return any;
}

int RunFrames(const FramesOptions& options, TFFDecoder& decoder, std::ostream& out, std::ostream& err) {
  if (const int failed = OpenFile(options.file, decoder, err); failed >= 0) return failed;
  int delivered = 0;
  if (options.backward) {
    if (GoToLastFrame(decoder)) {
      WriteFrameLine(decoder, out);
      ++delivered;
      // A step that gives no earlier frame has reached the first one.
      for (std::int64_t last = decoder.FramePTS();;) {
        const bool stepped = options.keys ? decoder.DecodePreviousKeyFrame() : decoder.DecodePreviousFrame();
        if (!stepped || decoder.FramePTS() >= last) break;
        last = decoder.FramePTS();
        WriteFrameLine(decoder, out);
        ++delivered;
      }
    }
  } else if (decoder.Decode()) {
    WriteFrameLine(decoder, out);
    ++delivered;
    for (std::int64_t last = decoder.FramePTS();;) {
      const bool stepped = options.keys ? decoder.DecodeNextKeyFrame() : decoder.Decode();
      if (!stepped || (options.keys && decoder.FramePTS() <= last)) break;
      last = decoder.FramePTS();
      WriteFrameLine(decoder, out);
      ++delivered;
    }
  }
  // The end of the stream is how every listing ends; only a listing without frames says why.
  if (delivered > 0) return ExitSuccess;
  err << decoder.LastErrMsg() << '\n';
  return ExitFailure;
}

int RunFrame(const std::vector<std::string>& operands, TFFDecoder& decoder, std::ostream& err) {
  char* end = nullptr;
  const double seconds = std::strtod(operands[1].c_str(), &end);
  if (operands[1].empty() || *end != '\0' || !(seconds >= 0) || seconds > 9.2e12)
    return Usage(err, "SECONDS must be a number of seconds, 0 or more: " + operands[1]);
  if (const int failed = OpenFile(operands[0], decoder, err); failed >= 0) return failed;
  const auto target = static_cast<std::int64_t>(seconds * 1000000.0);
  // The seek lands on a key frame before the target; the frames up to it are decoded. A
  // container that seeks by decoding time may land after the target's key frame: then
  // the frames are decoded from the first byte.
  decoder.Seek({sfBackward}, target);
  bool decoded = decoder.Decode();
  if (!decoded || decoder.FramePTS() > target) {
    decoder.Seek({sfByte}, 0);
    decoded = decoder.Decode();
  }
  bool found = decoded && decoder.FramePTS() >= target;
  while (decoded && !found && (decoded = decoder.Decode())) found = decoder.FramePTS() >= target;
  int width = 0;
  int height = 0;
  decoder.DisplaySize(width, height);
  std::string error;
  if (!found || !decoder.Convert(width, height)) {
    err << decoder.LastErrMsg() << '\n';
    return ExitFailure;
  }
  if (!SavePictureFile(decoder.Converter().Bitmap(), operands[2], error)) {
    err << operands[2] << ": " << error << '\n';
    return ExitFailure;
  }
  return ExitSuccess;
}

}  // namespace

bool IsInspectCommand(const std::vector<std::string>& arguments) {
  return !arguments.empty() && (arguments[0] == "streams" || arguments[0] == "frames" || arguments[0] == "frame");
}

int RunInspectCommand(const std::vector<std::string>& arguments, TFFDecoder& decoder, std::ostream& out,
                      std::ostream& err) {
  const std::string& command = arguments[0];
  std::vector<std::string> operands(arguments.begin() + 1, arguments.end());
  if (command == "streams") {
    if (operands.size() != 1) return Usage(err, "streams takes one FILE");
    if (const int failed = OpenFile(operands[0], decoder, err); failed >= 0) return failed;
    for (const std::string& line : StreamReportLines(decoder)) out << line << '\n';
    return ExitSuccess;
  }
  if (command == "frames") {
    FramesOptions options;
    std::size_t i = 0;
    for (; i < operands.size(); ++i) {
      if (operands[i] == "--backward")
        options.backward = true;
      else if (operands[i] == "--keys")
        options.keys = true;
      else
        break;
    }
    if (i + 1 != operands.size()) return Usage(err, "frames takes [--backward] [--keys] FILE");
    options.file = operands[i];
    return RunFrames(options, decoder, out, err);
  }
  if (operands.size() != 3) return Usage(err, "frame takes FILE SECONDS OUT");
  return RunFrame(operands, decoder, err);
}
