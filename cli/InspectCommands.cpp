#include "cli/InspectCommands.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/Diagnostic.h"
#include "cli/ExitStatus.h"
#include "cli/OpenMediaFile.h"
#include "FFDecode/FFDecoder.h"
#include "FFDecode/PictureFile.h"
#include "FFDecode/StreamReport.h"
#include "FFLoad/EntryPoints.h"
#include "Text/Format.h"
#include "platform/FileSystem.h"

namespace {

int Usage(std::ostream& err, const std::string& command, const std::string& problem) {
  Diagnose(err, command, problem);
  err << "Try 'morvane-cli --help'.\n";
  return ExitUsage;
}

// Opens FILE after loading the libraries; writes the reason and gives the exit status on
// failure, or -1 when the file is open.
int OpenFile(const std::string& fileName, TFFDecoder& decoder, std::ostream& err) {
  if (!decoder.EnsureLibraries()) {
    Diagnose(err, {}, decoder.LastErrMsg());
    return ExitNoLibraries;
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
    while (!decoder.StopRequested() && decoder.Decode()) any = true;
  if (any) return true;
  decoder.Seek({}, 0);
  while (!decoder.StopRequested() && decoder.Decode()) any = true;
  return any;
}

int RunFrames(const TCliArguments& options, TFFDecoder& decoder, std::ostream& out, std::ostream& err) {
  const std::string& file = options.Files.front();
  if (const int failed = OpenFile(file, decoder, err); failed >= 0) return failed;
  int delivered = 0;
  if (options.Backward) {
    // Key frame steps start from the last key frame.
    const bool atStart = GoToLastFrame(decoder) && !decoder.StopRequested() &&
                         (!options.Keys || decoder.Frame().KeyFrame || decoder.DecodePreviousKeyFrame());
    if (atStart) {
      WriteFrameLine(decoder, out);
      ++delivered;
      // A step that gives no earlier frame has reached the first one.
      for (std::int64_t last = decoder.FramePTS();;) {
        const bool stepped = options.Keys ? decoder.DecodePreviousKeyFrame() : decoder.DecodePreviousFrame();
        if (decoder.StopRequested()) return ExitFailure;
        if (!stepped || decoder.FramePTS() >= last) break;
        last = decoder.FramePTS();
        WriteFrameLine(decoder, out);
        ++delivered;
      }
    }
  } else if (decoder.Decode() && !decoder.StopRequested()) {
    WriteFrameLine(decoder, out);
    ++delivered;
    for (std::int64_t last = decoder.FramePTS();;) {
      const bool stepped = options.Keys ? decoder.DecodeNextKeyFrame() : decoder.Decode();
      if (decoder.StopRequested()) return ExitFailure;
      if (!stepped || (options.Keys && decoder.FramePTS() <= last)) break;
      last = decoder.FramePTS();
      WriteFrameLine(decoder, out);
      ++delivered;
    }
  }
  if (decoder.StopRequested()) return ExitFailure;
  // The end of the stream is how every listing ends; only a listing without frames says why.
  if (delivered > 0) return ExitSuccess;
  Diagnose(err, file, decoder.LastErrMsg());
  return ExitFailure;
}

// Why no frame came at `seconds`: the stream ended before it (the clip's length from the
// container, or the last frame's time where that is later), or the decoder's own reason.
std::string BeyondTheEnd(TFFDecoder& decoder, double seconds, std::int64_t lastFrame) {
  if (!decoder.EndOfStream()) return decoder.LastErrMsg();
  TFileStreamInfo file;
  decoder.GetFileStreamInfo(file);
  // A container's length may be an estimate (from the bit rate) that frames outrun.
  const std::int64_t length = std::max<std::int64_t>(file.Duration, lastFrame);
  return text::Format("no frame at %0.3f seconds: the clip is %0.3f seconds long.",
                      {seconds, static_cast<double>(length) / 1000000.0});
}

int RunFrame(const TCliArguments& arguments, TFFDecoder& decoder, std::ostream& err) {
  const std::string& file = arguments.Files.front();
  char* end = nullptr;
  const double seconds = std::strtod(arguments.Seconds.c_str(), &end);
  if (arguments.Seconds.empty() || *end != '\0' || !(seconds >= 0) || seconds > 9.2e12)
    return Usage(err, "frame", "SECONDS must be a number of seconds, 0 or more: " + arguments.Seconds);
  if (const std::string problem = FrameTargetProblem(arguments.Output, file); !problem.empty())
    return Usage(err, "frame", "OUT " + arguments.Output + ": " + problem);
  if (const int failed = OpenFile(file, decoder, err); failed >= 0) return failed;
  const auto target = static_cast<std::int64_t>(seconds * AV_TIME_BASE);
  // The seek lands on a key frame before the target; the frames up to it are decoded. A
  // container that seeks by decoding time may land after the target's key frame, and one
  // that seeks by byte position (MPEG program streams) on a frame whose time it cannot
  // tell: then the frames are decoded from the first byte.
  decoder.Seek({sfBackward}, target);
  bool decoded = decoder.Decode();
  if (!decoded || decoder.FramePTS() == AV_NOPTS_VALUE || decoder.FramePTS() > target) {
    decoder.Seek({}, 0);
    decoded = decoder.Decode();
  }
  bool found = decoded && decoder.FramePTS() >= target;
  std::int64_t last = decoded ? decoder.FramePTS() : -1;
  while (decoded && !found && !decoder.StopRequested() && (decoded = decoder.Decode())) {
    last = decoder.FramePTS();
    found = last >= target;
  }
  // A stop leaves no picture and says nothing more.
  if (decoder.StopRequested()) return ExitFailure;
  if (!found) {
    Diagnose(err, file, BeyondTheEnd(decoder, seconds, last));
    return ExitFailure;
  }
  int width = 0;
  int height = 0;
  decoder.DisplaySize(width, height);
  std::string error;
  // Saved upright, as the stream's display matrix says it is shown.
  if (!decoder.ConvertUpright(width, height)) {
    Diagnose(err, file, decoder.LastErrMsg());
    return ExitFailure;
  }
  switch (SaveFramePicture(decoder.Converter().Bitmap(), arguments.Output, file, error)) {
    case TFrameSave::Saved: return ExitSuccess;
    case TFrameSave::Refused: return Usage(err, "frame", "OUT " + arguments.Output + ": " + error);
    case TFrameSave::Failed: break;
  }
  Diagnose(err, arguments.Output, error);
  return ExitFailure;
}

}  // namespace

int RunInspectCommand(const TCliArguments& arguments, TFFDecoder& decoder, std::ostream& out, std::ostream& err) {
  switch (arguments.Command) {
    case TCliCommand::Streams:
      if (const int failed = OpenFile(arguments.Files.front(), decoder, err); failed >= 0) return failed;
      if (decoder.StopRequested()) return ExitFailure;
      for (const std::string& line : StreamReportLines(decoder)) out << line << '\n';
      return ExitSuccess;
    case TCliCommand::Frames:
      return RunFrames(arguments, decoder, out, err);
    case TCliCommand::Frame:
      return RunFrame(arguments, decoder, err);
    default:
      return Usage(err, {}, "not an inspection command");
  }
}
