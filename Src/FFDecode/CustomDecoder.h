// The decoder core: one open media file at a time, its cached facts and its information text.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "FFDecode/StreamInfo.h"
#include "FFLoad/MediaHeaders.h"
#include "FFUtils/FFBaseComponent.h"
#include "FFUtils/FFOptions.h"
#include "FFUtils/FFOwners.h"
#include "Text/Format.h"

// Called after the container is open and before its streams are probed; the handler may
// change the context's settings.
using TBeforeFindStreamInfoEvent = std::function<void(const void* sender, AVFormatContext* formatContext)>;

class TCustomDecoder : public TFFBaseComponent {
 public:
  TCustomDecoder();
  ~TCustomDecoder() override;
  TCustomDecoder(const TCustomDecoder&) = delete;
  TCustomDecoder& operator=(const TCustomDecoder&) = delete;

  // Loads the decoder's libraries from `folder` (empty: the system's search). On false,
  // LastErrMsg holds the loader's message.
  bool LoadLibraries(const std::u16string& folder);
  // Loads the decoder's libraries from DefaultLibraryFolder unless they are loaded: what
  // every front end calls. A failed load is retried by the next call.
  bool EnsureLibraries();
  bool LibrariesLoaded() const;
  // Throws EFFError "Library %s not loaded." when the libraries are not loaded.
  void CheckLibraries() const;

  // Opens and probes a file; closes any file open before. An empty input format name lets
  // the libraries probe the source. On false there is no open file and LastErrMsg says why.
  // The name is opened as a file and as nothing else (see AllowAddresses): "pipe:0" or
  // "concat:a|b" are files of that name in the current folder.
  bool LoadFile(const std::u16string& fileName, const std::string& inputFormatName = {});
  // The same for a UTF-8 name, the text in which the front ends and the workflow hold names.
  bool LoadFile(const std::string& fileName, const std::string& inputFormatName = {});
  virtual void CloseFile();
  virtual void RefreshFileInfo();
  // Adopts a context opened elsewhere; the decoder never closes it.
  virtual void AttachFormatContext(AVFormatContext* context);

  // The multi-line report of the open file, each line ending in CR LF; empty (and
  // LastErrMsg "file not loaded.") when no file is open.
  std::string FileInfoText();
  bool IsAudioStream(int index);
  bool IsVideoStream(int index);

  // Fill the caller's record; a negative index means the first stream of that kind.
  void GetFileStreamInfo(TFileStreamInfo& info);
  void GetAudioStreamInfo(int index, TAudioStreamInfo& info);
  void GetVideoStreamInfo(int index, TVideoStreamInfo& info);
  void GetVideoStreamInfo(TVideoStreamInfo& info) { GetVideoStreamInfo(-1, info); }

  AVFormatContext* FormatContext() const { return OwnedContext_ ? OwnedContext_.get() : AdoptedContext_; }
  // True while the open file's context is one that LoadFile opened and CloseFile closes.
  bool OwnsFormatContext() const { return OwnedContext_ != nullptr; }
  TFFOptions& Options() { return *Options_; }
  const std::string& LastErrMsg() const { return LastErrMsg_; }
  const std::string& InputFormatName() const { return InputFormatName_; }

  std::int64_t FileSize() const { return FileSize_; }
  std::int32_t StreamCount() const { return StreamCount_; }
  std::int32_t ProgramCount() const { return ProgramCount_; }
  std::int32_t AudioStreamCount() const { return AudioStreamCount_; }
  std::int32_t VideoStreamCount() const { return VideoStreamCount_; }
  std::int32_t SubtitleStreamCount() const { return SubtitleStreamCount_; }
  std::int32_t FirstAudioStream() const { return FirstAudioStream_; }
  std::int32_t FirstVideoStream() const { return FirstVideoStream_; }
  std::int32_t FirstSubtitleStream() const { return FirstSubtitleStream_; }

  bool TriggerEventInMainThread = true;
  // When true, LoadFile hands its name to the libraries as it is, so that an address
  // ("http://...", "pipe:0") opens whatever its protocol names. Only for callers that
  // take addresses on purpose.
  bool AllowAddresses = false;
  // When false, LoadFile opens the container and reads its header only: no stream probe,
  // no OnBeforeFindStreamInfo. The container's metadata is then what the header holds;
  // stream facts may be incomplete, and some containers only fill their metadata while
  // packets are read.
  bool ProbeStreams = true;
  // Microseconds of the libraries' clock; 0 cancels the next blocking call, INT64_MAX
  // switches the time limit off.
  std::int64_t IOStartTime = 0;
  // Once this turns true (a signal handler may set it), every blocking open, probe or read
  // of the libraries returns at once with a failure. Null: no stop.
  const std::atomic<bool>* StopFlag = nullptr;
  bool StopRequested() const { return StopFlag && StopFlag->load(); }
  TBeforeFindStreamInfoEvent OnBeforeFindStreamInfo;

 protected:
  void ReportError(int avLevel, const std::string& message);
  // Sets the failure text without logging it.
  void SetLastErrMsg(std::string message) { LastErrMsg_ = std::move(message); }
  template <typename... Args>
  void ReportErrorFmt(int avLevel, std::string_view format, const Args&... args);
  void DoBeforeFindStreamInfo();
  // The stream probe of LoadFile on its freshly opened context; false after setting
  // LastErrMsg.
  bool ProbeOpenFile(AVFormatContext* context, const std::string& narrowName);
  // The stream of that index, or nullptr after reporting why there is none.
  const AVStream* CheckedStream(int index);
  // The stream of that index (negative: the first of `kind`) when it is of `kind`, or
  // nullptr after reporting why not.
  AVStream* StreamOfKind(int index, AVMediaType kind);
  // Takes over what the option store says for the open that just succeeded.
  virtual void ApplyOpenOptions(TFFOptions& options);
  // The libraries' interrupt check: 1 aborts the blocking call, 0 lets it go on.
  static int InterruptCallback(void* decoder);

 private:
  // The open file's context: the one LoadFile opened, or one adopted and never closed.
  ff::InputContextPtr OwnedContext_;
  AVFormatContext* AdoptedContext_ = nullptr;
  std::unique_ptr<TFFOptions> Options_;
  std::string LastErrMsg_;
  std::string InputFormatName_;
  std::int64_t FileSize_ = -1;
  std::int32_t StreamCount_ = -1;
  std::int32_t ProgramCount_ = -1;
  std::int32_t AudioStreamCount_ = -1;
  std::int32_t VideoStreamCount_ = -1;
  std::int32_t SubtitleStreamCount_ = -1;
  std::int32_t FirstAudioStream_ = -1;
  std::int32_t FirstVideoStream_ = -1;
  std::int32_t FirstSubtitleStream_ = -1;
};

template <typename... Args>
void TCustomDecoder::ReportErrorFmt(int avLevel, std::string_view format, const Args&... args) {
  ReportError(avLevel, text::Format(format, {text::FormatArg(args)...}));
}
