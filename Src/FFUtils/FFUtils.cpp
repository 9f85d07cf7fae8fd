#include "FFUtils/FFUtils.h"

#include <algorithm>

#include "FFLoad/EntryPoints.h"
#include "FFUtils/ErrorMessages.h"
#include "FFUtils/FFOwners.h"
#include "Text/Format.h"
#include "Text/Trim.h"

namespace {

// The libraries' pseudo codec of an MPEG-2 transport stream, which no decoder handles.
constexpr int kMpeg2TransportStreamCodecId = 0x20000;

bool IsPrintable(char c) { return c >= ' ' && c <= '~'; }

// True when the option class (searched without an object) knows `name` for `flags`.
bool ClassHasOption(const AVClass* const* optionClass, const char* name, int flags) {
  return ff::avutil.av_opt_find(const_cast<const AVClass**>(optionClass), name, nullptr, flags,
                                AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

}  // namespace

std::string DurationToStr(std::int64_t microseconds) {
  if (microseconds == AV_NOPTS_VALUE) return "N/A";
  // The sum wraps near the top of the range instead of overflowing.
  const auto shifted = static_cast<std::int64_t>(static_cast<std::uint64_t>(microseconds) + 5000);
  const auto whole = static_cast<std::int32_t>(shifted / AV_TIME_BASE);
  const std::int64_t rest = shifted % AV_TIME_BASE;
  const std::int32_t hours = whole / 3600;
  const std::int32_t minutes = (whole / 60) % 60;
  const std::int32_t seconds = whole % 60;
  const auto millis = static_cast<std::int32_t>((rest * 1000) / AV_TIME_BASE);
  return text::Format("%.2d:%.2d:%.2d.%.3d", {hours, minutes, seconds, millis});
}

std::string TimestampToStr(std::int64_t timestamp, AVRational timeBase) {
  const bool microsecondBase = static_cast<std::int64_t>(timeBase.num) * MicrosecondTimeBase.den ==
                               static_cast<std::int64_t>(timeBase.den) * MicrosecondTimeBase.num;
  if (timestamp != AV_NOPTS_VALUE && !microsecondBase)
    timestamp = ff::avutil.av_rescale_q(timestamp, timeBase, MicrosecondTimeBase);
  return DurationToStr(timestamp);
}

std::int64_t FrameDurationFromRate(AVRational rate) {
  if (rate.num == 0 || rate.den == 0) return 40000;
  return std::int64_t{AV_TIME_BASE} * rate.den / rate.num;
}

std::string GetErrorText(const std::string& prefix, int code) {
  const TErrorMessage* row = FindErrorMessage(code);
  std::string message = row ? std::string(row->Message) : text::Format("Error number %d occurred", {code});
  return prefix.empty() ? message : prefix + ": " + message;
}

int MatchStreamSpecifier(AVFormatContext* s, AVStream* st, const char* spec) {
  return ff::avformat.avformat_match_stream_specifier(s, st, spec);
}

AVDictionary* FilterCodecOptions(AVDictionary* opts, AVCodecID codecId, AVFormatContext* s, AVStream* st,
                                 const AVCodec* codec) {
  const bool output = s->oformat != nullptr;
  int flags = output ? AV_OPT_FLAG_ENCODING_PARAM : AV_OPT_FLAG_DECODING_PARAM;
  // Nothing to filter: spare the codec look-up, which every stream of every probe pays.
  if (!opts) return nullptr;
  if (!codec) codec = output ? ff::avcodec.avcodec_find_encoder(codecId) : ff::avcodec.avcodec_find_decoder(codecId);

  char prefix = 0;
  switch (st->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
      prefix = 'v';
      flags |= AV_OPT_FLAG_VIDEO_PARAM;
      break;
    case AVMEDIA_TYPE_AUDIO:
      prefix = 'a';
      flags |= AV_OPT_FLAG_AUDIO_PARAM;
      break;
    case AVMEDIA_TYPE_SUBTITLE:
      prefix = 's';
      flags |= AV_OPT_FLAG_SUBTITLE_PARAM;
      break;
    default:
      break;
  }

  const AVClass* genericClass = ff::avcodec.avcodec_get_class();
  ff::DictionaryPtr result;
  auto copy = [&result](const char* key, const char* value) {
    AVDictionary* dictionary = result.release();
    ff::avutil.av_dict_set(&dictionary, key, value, 0);
    result.reset(dictionary);
  };

  const AVDictionaryEntry* entry = nullptr;
  while ((entry = ff::avutil.av_dict_get(opts, "", entry, AV_DICT_IGNORE_SUFFIX))) {
    std::string name = entry->key;
    if (const auto colon = name.find(':'); colon != std::string::npos) {
      const int match = MatchStreamSpecifier(s, st, name.c_str() + colon + 1);
      if (match < 0) return nullptr;
      if (match == 0) continue;
      name.resize(colon);
    }
    if (ClassHasOption(&genericClass, name.c_str(), flags) ||
        (codec && codec->priv_class && ClassHasOption(&codec->priv_class, name.c_str(), flags)))
      copy(name.c_str(), entry->value);
    else if (prefix && !name.empty() && name[0] == prefix && ClassHasOption(&genericClass, name.c_str() + 1, flags))
      copy(name.c_str() + 1, entry->value);
  }
  return result.release();
}

AVDictionary** SetupFindStreamInfoOptions(AVFormatContext* s, AVDictionary* codecOpts) {
  if (s->nb_streams == 0) return nullptr;
  auto** options = static_cast<AVDictionary**>(ff::avutil.av_mallocz(s->nb_streams * sizeof(AVDictionary*)));
  if (!options) {
    ff::avutil.av_log(nullptr, AV_LOG_ERROR, "Could not alloc memory for stream options.\n");
    return nullptr;
  }
  for (unsigned i = 0; i < s->nb_streams; ++i)
    options[i] = FilterCodecOptions(codecOpts, s->streams[i]->codecpar->codec_id, s, s->streams[i], nullptr);
  return options;
}

std::string GetMetadataValue(AVDictionary* dict, const char* key, const std::string& defaultValue) {
  const AVDictionaryEntry* entry = ff::avutil.av_dict_get(dict, key, nullptr, 0);
  return entry ? std::string(entry->value) : defaultValue;
}

std::string GetCodecNameText(const AVCodecContext* ctx, bool encoder) {
  const AVCodec* codec =
      encoder ? ff::avcodec.avcodec_find_encoder(ctx->codec_id) : ff::avcodec.avcodec_find_decoder(ctx->codec_id);
  if (codec) {
    const std::string longName = codec->long_name ? text::TrimControls(codec->long_name) : std::string();
    return longName.empty() ? std::string(codec->name) : text::Format("%s(%s)", {codec->name, longName});
  }
  if (ctx->codec_id == kMpeg2TransportStreamCodecId) return "mpeg2ts";
  // Today's codec context has no codec name field of its own: the tag is all that is left.
  const std::uint32_t tag = ctx->codec_tag;
  const char bytes[4] = {static_cast<char>(tag), static_cast<char>(tag >> 8), static_cast<char>(tag >> 16),
                         static_cast<char>(tag >> 24)};
  if (std::all_of(bytes, bytes + 4, IsPrintable)) {
    auto letter = [&bytes](int i) { return std::string_view(bytes + i, 1); };
    return text::Format("%s%s%s%s / 0x%04X", {letter(0), letter(1), letter(2), letter(3), tag});
  }
  return text::Format("0x%04x", {tag});
}

std::string PictureTypeToStr(int pictureType) {
  switch (pictureType) {
    case AV_PICTURE_TYPE_I:
      return "Intra";
    case AV_PICTURE_TYPE_P:
      return "Predicted";
    case AV_PICTURE_TYPE_B:
      return "Bi-dir predicted";
    case AV_PICTURE_TYPE_S:
      return "S(GMC)-VOP MPEG4";
    case AV_PICTURE_TYPE_SI:
      return "Switching Intra";
    case AV_PICTURE_TYPE_SP:
      return "Switching Predicted";
    case AV_PICTURE_TYPE_BI:
      return "BI type";
    default:
      return "Unknown";
  }
}
