#include "FFDecode/CustomDecoder.h"

#include <cerrno>
#include <limits>

#include "FFDecode/FileInfoText.h"
#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFLoad/LibraryFolder.h"
#include "FFLog/FFLog.h"
#include "FFUtils/FFUtils.h"
#include "Paths/PathHelpers.h"
#include "UnicodeProtocol/UnicodeProtocol.h"
#include "platform/Text.h"

TCustomDecoder::TCustomDecoder() : Options_(std::make_unique<TFFOptions>()) { RefreshFileInfo(); }

// Virtual calls in a destructor reach this class's versions, which is all a derived class
// has left at that point.
TCustomDecoder::~TCustomDecoder() { TCustomDecoder::CloseFile(); }

bool TCustomDecoder::LoadLibraries(const std::u16string& folder) {
  TFFLoader& loader = FFLoader();
  loader.SetLibraryPath(folder);
  if (!loader.LoadLibs(DecoderLibraries)) {
    LastErrMsg_ = loader.LastErrMsg();
    return false;
  }
  Options_->InitOptions();
  return true;
}

bool TCustomDecoder::EnsureLibraries() { return LibrariesLoaded() || LoadLibraries(DefaultLibraryFolder()); }

bool TCustomDecoder::LibrariesLoaded() const { return FFLoader().LibsLoaded(DecoderLibraries); }

void TCustomDecoder::CheckLibraries() const { FFLoader().CheckLibs(DecoderLibraries); }

bool TCustomDecoder::LoadFile(const std::u16string& fileName, const std::string& inputFormatName) {
  CheckLibraries();
  CloseFile();
  if (!Options_->SwsOptions) Options_->InitOptions();

  // Every way out of an attempt resets the options: one set serves one open only.
  auto fail = [this] {
    Options_->InitOptions();
    CloseFile();
    return false;
  };
  const std::string narrowName = platform::WideToNarrow(fileName);

  const AVInputFormat* inputFormat = nullptr;
  if (!inputFormatName.empty()) {
    inputFormat = ff::avformat.av_find_input_format(inputFormatName.c_str());
    if (!inputFormat) {
      ReportErrorFmt(AV_LOG_ERROR, "Unknown input format: %s", inputFormatName);
      return fail();
    }
  }

  ff::FormatContextPtr fresh(ff::avformat.avformat_alloc_context());
  if (!fresh) {
    LastErrMsg_ = GetErrorText(narrowName, AVERROR(ENOMEM));
    return fail();
  }
  fresh->interrupt_callback.callback = &TCustomDecoder::InterruptCallback;
  fresh->interrupt_callback.opaque = this;

  const char* mappedName = MapFileNameForOpen(AllowAddresses ? fileName : ExpandFileNameW(fileName));
  if (!mappedName) {
    LastErrMsg_ = GetErrorText(narrowName, AVERROR(ENAMETOOLONG));
    return fail();
  }
  std::string openName = mappedName;
  if (!AllowAddresses) {
    // The file protocol's own prefix in front of an absolute path leaves nothing for the
    // libraries to read as another protocol, and the whitelist keeps demuxers that open
    // further sources (playlists, concatenations) to files as well.
    const bool unicodeFile = IsUnicodeUrl(openName);
    if (!unicodeFile) openName = "file:" + openName;
    ff::avutil.av_dict_set(&Options_->FormatOptions, "protocol_whitelist", unicodeFile ? "unicode" : "file", 0);
  }

  IOStartTime = ff::avutil.av_gettime();
  // The libraries free the context themselves when the open fails.
  AVFormatContext* context = fresh.release();
  int result = ff::avformat.avformat_open_input(&context, openName.c_str(), inputFormat, &Options_->FormatOptions);
  if (result < 0) {
    LastErrMsg_ = GetErrorText(narrowName, result);
    return fail();
  }
  OwnedContext_.reset(context);

  const AVDictionaryEntry* unused = nullptr;
  while ((unused = ff::avutil.av_dict_get(Options_->FormatOptions, "", unused, AV_DICT_IGNORE_SUFFIX)))
    DefaultLogger()->LogFmt(this, llError, "Option %s not found, ignored.", unused->key);

  context->flags |= AVFMT_FLAG_NONBLOCK;
  if (ProbeStreams && !ProbeOpenFile(context, narrowName)) return fail();

  if (context->pb) {
    context->pb->eof_reached = 0;
    context->pb->error = 0;
  }
  RefreshFileInfo();
  ApplyOpenOptions(*Options_);
  Options_->InitOptions();
  InputFormatName_ = inputFormatName;
  return true;
}

bool TCustomDecoder::LoadFile(const std::string& fileName, const std::string& inputFormatName) {
  return LoadFile(platform::NarrowToWide(fileName), inputFormatName);
}

bool TCustomDecoder::ProbeOpenFile(AVFormatContext* context, const std::string& narrowName) {
  if (OnBeforeFindStreamInfo) {
    if (TriggerEventInMainThread)
      CallInMainThread([this] { DoBeforeFindStreamInfo(); });
    else
      DoBeforeFindStreamInfo();
  }

  const unsigned streamsBeforeProbe = context->nb_streams;
  ff::StreamOptions perStream(SetupFindStreamInfoOptions(context, Options_->CodecOptions), streamsBeforeProbe);
  IOStartTime = ff::avutil.av_gettime();
  if (ff::avformat.avformat_find_stream_info(context, perStream.get()) < 0) {
    LastErrMsg_ = narrowName + ": could not find codec parameters";
    return false;
  }
  return true;
}

void TCustomDecoder::ApplyOpenOptions(TFFOptions&) {}

void TCustomDecoder::CloseFile() {
  InputFormatName_.clear();
  OwnedContext_.reset();  // closes the input when LoadFile opened it
  AdoptedContext_ = nullptr;
  RefreshFileInfo();
}

void TCustomDecoder::RefreshFileInfo() {
  FileSize_ = -1;
  StreamCount_ = ProgramCount_ = -1;
  AudioStreamCount_ = VideoStreamCount_ = SubtitleStreamCount_ = -1;
  FirstAudioStream_ = FirstVideoStream_ = FirstSubtitleStream_ = -1;
  AVFormatContext* context = FormatContext();
  if (!context) return;

  FileSize_ = ContainerFileSize(context);
  StreamCount_ = static_cast<std::int32_t>(context->nb_streams);
  ProgramCount_ = static_cast<std::int32_t>(context->nb_programs);
  AudioStreamCount_ = VideoStreamCount_ = SubtitleStreamCount_ = 0;
  auto count = [](std::int32_t index, std::int32_t& total, std::int32_t& first) {
    ++total;
    if (first < 0) first = index;
  };
  for (std::int32_t i = 0; i < StreamCount_; ++i) {
    switch (context->streams[i]->codecpar->codec_type) {
      case AVMEDIA_TYPE_VIDEO: count(i, VideoStreamCount_, FirstVideoStream_); break;
      case AVMEDIA_TYPE_AUDIO: count(i, AudioStreamCount_, FirstAudioStream_); break;
      case AVMEDIA_TYPE_SUBTITLE: count(i, SubtitleStreamCount_, FirstSubtitleStream_); break;
      default: break;
    }
  }
}

void TCustomDecoder::AttachFormatContext(AVFormatContext* context) {
  if (context == FormatContext()) return;
  CheckLibraries();
  CloseFile();
  AdoptedContext_ = context;
  RefreshFileInfo();
}

std::string TCustomDecoder::FileInfoText() {
  if (!FormatContext()) {
    ReportError(AV_LOG_WARNING, "file not loaded.");
    return {};
  }
  return JoinReportLines(DumpFormat(FormatContext()));
}

bool TCustomDecoder::IsAudioStream(int index) {
  const AVStream* stream = CheckedStream(index);
  return stream && stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
}

bool TCustomDecoder::IsVideoStream(int index) {
  const AVStream* stream = CheckedStream(index);
  return stream && stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
}

const AVStream* TCustomDecoder::CheckedStream(int index) {
  const AVFormatContext* context = FormatContext();
  if (!context) {
    ReportError(AV_LOG_WARNING, "file not loaded.");
    return nullptr;
  }
  if (index < 0 || static_cast<unsigned>(index) >= context->nb_streams) {
    ReportErrorFmt(AV_LOG_ERROR, "stream index #%d is invalid.", index);
    return nullptr;
  }
  return context->streams[index];
}

void TCustomDecoder::ReportError(int avLevel, const std::string& message) {
  LastErrMsg_ = message;
  DefaultLogger()->Log(this, AVLevelToLogLevel(avLevel), LastErrMsg_);
}

void TCustomDecoder::DoBeforeFindStreamInfo() {
  if (OnBeforeFindStreamInfo) OnBeforeFindStreamInfo(this, FormatContext());
}

int TCustomDecoder::InterruptCallback(void* opaque) {
  auto* decoder = static_cast<TCustomDecoder*>(opaque);
  if (decoder->StopRequested()) return 1;
  if (decoder->IOStartTime == std::numeric_limits<std::int64_t>::max()) return 0;
  if (decoder->IOTimeout <= 0) return 0;
  const std::int64_t elapsed = ff::avutil.av_gettime() - decoder->IOStartTime;
  if (elapsed <= std::int64_t{decoder->IOTimeout} * 1000) return 0;
  DefaultLogger()->Log(decoder, llInfo,
                       decoder->IOStartTime == 0 ? "connecting/reading canceled" : "connecting/reading timeout");
  return 1;
}
