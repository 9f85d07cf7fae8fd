#include "FFDecode/FileInfoText.h"

#include <cmath>
#include <cstdlib>

#include "FFLoad/EntryPoints.h"
#include "FFUtils/FFOwners.h"
#include "FFUtils/FFUtils.h"
#include "Paths/PathHelpers.h"
#include "Text/Format.h"
#include "UnicodeProtocol/UnicodeProtocol.h"
#include "platform/Text.h"

namespace {


// A text that the report writes inside a line: its line breaks become blanks, so that a
// file name, format name, codec text or metadata key can never start a line of its own.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

std::string OneLine(const char* text) { return OneLine(std::string(text ? text : "")); }

// Rational comparison as the libraries define it: 0/0 differs from everything.
bool SameRational(AVRational a, AVRational b) { return av_cmp_q(a, b) == 0; }

bool IsNonZero(AVRational r) { return r.num != 0 && r.den != 0; }

const char* LookUp(AVDictionary* dictionary, const char* key) {
  const AVDictionaryEntry* entry = ff::avutil.av_dict_get(dictionary, key, nullptr, 0);
  return entry ? entry->value : nullptr;
}

// What the stream line needs of a codec context made from the stream's parameters.
struct CodecFacts {
  std::string text;  // the libraries' codec text
  AVRational timeBase{0, 1};
  AVRational sampleAspectRatio{0, 1};
  int width = 0;
  int height = 0;
};

CodecFacts CodecFactsOf(const AVCodecParameters* parameters) {
  CodecFacts facts;
  ff::CodecContextPtr codec = ff::CodecContextFromParameters(parameters);
  if (!codec) return facts;
  char buffer[256] = {};
  ff::avcodec.avcodec_string(buffer, sizeof buffer, codec.get(), 0);
  facts.text = OneLine(buffer);
  facts.timeBase = codec->time_base;
  facts.sampleAspectRatio = codec->sample_aspect_ratio;
  facts.width = codec->width;
  facts.height = codec->height;
  return facts;
}

void AppendValue(std::vector<std::string>& lines, std::string line, const std::string& continuation,
                 const char* value) {
  const char* piece = value;
  for (;;) {
    const char* stop = piece;
    while (*stop && *stop != '\b' && *stop != '\n' && *stop != '\v' && *stop != '\f' && *stop != '\r') ++stop;
    line.append(piece, std::min<size_t>(static_cast<size_t>(stop - piece), 255));
    if (!*stop) break;
    if (*stop == '\r') {
      line += ' ';
    } else if (*stop == '\n') {
      lines.push_back(std::move(line));
      line = continuation;
    }
    piece = stop + 1;
  }
  lines.push_back(std::move(line));
}

}  // namespace

std::string FormatRate(double rate, const char* unit) {
  const std::int64_t hundredths = std::llrint(rate * 100);
  if (hundredths % 100 != 0) return text::Format(", %3.2f %s", {rate, unit});
  if (hundredths % 100000 != 0) return text::Format(", %1.0f %s", {rate, unit});
  return text::Format(", %1.0fk %s", {rate / 1000, unit});
}

std::string FormatStartTime(AVRational timeBase, std::int64_t t) {
  if (t == AV_NOPTS_VALUE) return {};
  if (av_cmp_q(timeBase, MicrosecondTimeBase) != 0) t = ff::avutil.av_rescale_q(t, timeBase, MicrosecondTimeBase);
  return text::Format("%d.%.6d", {static_cast<std::int32_t>(t / AV_TIME_BASE), std::llabs(t % AV_TIME_BASE)});
}

std::int64_t ContainerFileSize(AVFormatContext* context) {
  std::int64_t size = 0;
  if (!(context->iformat->flags & AVFMT_NOFILE) && context->pb)
    size = std::max<std::int64_t>(ff::avformat.avio_size(context->pb), 0);
  if (size <= 0) {
    const std::u16string name = MapFileNameFromContext(context->url ? context->url : "");
    if (FileExistsW(name)) size = FileSizeByNameW(name);
  }
  return size;
}

std::string MetadataLinePrefix(std::string_view indent, std::string_view key) {
  return text::Format("%s  %-16s: ", {std::string(indent), OneLine(std::string(key))});
}

namespace {

// A dictionary that holds nothing but the language, which the stream line shows, has no block.
bool HasMetadataBlock(AVDictionary* dictionary) {
  return dictionary && !(ff::avutil.av_dict_count(dictionary) == 1 && LookUp(dictionary, "language"));
}

}  // namespace

void ForEachMetadataEntry(AVDictionary* dictionary, const TMetadataEntryVisitor& visit) {
  if (!HasMetadataBlock(dictionary)) return;
  const AVDictionaryEntry* entry = nullptr;
  while ((entry = ff::avutil.av_dict_get(dictionary, "", entry, AV_DICT_IGNORE_SUFFIX))) {
    if (std::string_view(entry->key) == "language") continue;
    if (!visit(entry->key, entry->value)) return;
  }
}

std::vector<std::string> MetadataEntryLines(std::string_view indent, const char* key, const char* value) {
  std::vector<std::string> lines;
  AppendValue(lines, MetadataLinePrefix(indent, key), MetadataLinePrefix(indent, ""), value);
  return lines;
}

void DumpMetadata(std::vector<std::string>& lines, AVDictionary* dictionary, const std::string& indent) {
  if (!HasMetadataBlock(dictionary)) return;
  lines.push_back(indent + "Metadata:");
  ForEachMetadataEntry(dictionary, [&](const char* key, const char* value) {
    for (std::string& line : MetadataEntryLines(indent, key, value)) lines.push_back(std::move(line));
    return true;
  });
}

std::string JoinReportLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void DumpStreamFormat(std::vector<std::string>& lines, AVFormatContext* context, unsigned index) {
  const AVStream* stream = context->streams[index];
  std::string line = text::Format("  Stream #%d", {index});
  if (context->iformat->flags & AVFMT_SHOW_IDS) line += text::Format("[0x%x]", {stream->id});
  if (const char* language = LookUp(stream->metadata, "language")) line += "(" + OneLine(language) + ")";

  std::int64_t gcd = ff::avutil.av_gcd(stream->time_base.num, stream->time_base.den);
  if (gcd == 0) gcd = 1;
  line += text::Format(", %d/%d", {stream->time_base.num / gcd, stream->time_base.den / gcd});

  const CodecFacts codec = CodecFactsOf(stream->codecpar);
  line += ": " + codec.text;

  const AVRational sar = stream->sample_aspect_ratio;
  if (sar.num != 0 && !SameRational(sar, codec.sampleAspectRatio)) {
    int darNum = 0;
    int darDen = 0;
    ff::avutil.av_reduce(&darNum, &darDen, std::int64_t{codec.width} * sar.num, std::int64_t{codec.height} * sar.den, 1024 * 1024);
    line += text::Format(", SAR %d:%d DAR %d:%d", {sar.num, sar.den, darNum, darDen});
  }

  if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
    if (IsNonZero(stream->avg_frame_rate)) line += FormatRate(av_q2d(stream->avg_frame_rate), "fps");
    if (IsNonZero(stream->r_frame_rate)) line += FormatRate(av_q2d(stream->r_frame_rate), "tbr");
    if (IsNonZero(stream->time_base)) line += FormatRate(1 / av_q2d(stream->time_base), "tbn");
    if (IsNonZero(codec.timeBase)) line += FormatRate(1 / av_q2d(codec.timeBase), "tbc");
  }

  static const struct {
    int flag;
    const char* word;
  } kDispositions[] = {
      {AV_DISPOSITION_DEFAULT, " (default)"},
      {AV_DISPOSITION_DUB, " (dub)"},
      {AV_DISPOSITION_ORIGINAL, " (original)"},
      {AV_DISPOSITION_COMMENT, " (comment)"},
      {AV_DISPOSITION_LYRICS, " (lyrics)"},
      {AV_DISPOSITION_KARAOKE, " (karaoke)"},
      {AV_DISPOSITION_FORCED, " (forced)"},
      {AV_DISPOSITION_HEARING_IMPAIRED, " (hearing impaired)"},
      {AV_DISPOSITION_VISUAL_IMPAIRED, " (visual impaired)"},
      {AV_DISPOSITION_CLEAN_EFFECTS, " (clean effects)"},
  };
  for (const auto& disposition : kDispositions)
    if (stream->disposition & disposition.flag) line += disposition.word;

  if (stream->start_time != AV_NOPTS_VALUE) line += ", start: " + FormatStartTime(stream->time_base, stream->start_time);
  if (stream->duration != AV_NOPTS_VALUE) line += ", duration: " + TimestampToStr(stream->duration, stream->time_base);
  lines.push_back(std::move(line));
  DumpMetadata(lines, stream->metadata, "  ");
}

std::vector<std::string> DumpFormat(AVFormatContext* context) {
  std::vector<std::string> lines;
  const std::u16string fileName = MapFileNameFromContext(context->url ? context->url : "");
  lines.push_back("File Name: " + OneLine(platform::WideToNarrow(fileName)));
  lines.push_back("Format Name: " + OneLine(context->iformat->name));
  if (context->iformat->long_name) lines.push_back("Format Long Name: " + OneLine(context->iformat->long_name));
  lines.push_back("File Size: " + SizeToStr(ContainerFileSize(context)));
  DumpMetadata(lines, context->metadata, "");

  std::string duration = "Duration: " + DurationToStr(context->duration);
  if (context->start_time != AV_NOPTS_VALUE) duration += ", start: " + FormatStartTime(MicrosecondTimeBase, context->start_time);
  duration += ", bitrate: ";
  duration += context->bit_rate > 0 ? text::Format("%d kb/s", {context->bit_rate / 1000}) : std::string("N/A");
  lines.push_back(std::move(duration));

  for (unsigned i = 0; i < context->nb_chapters; ++i) {
    const AVChapter* chapter = context->chapters[i];
    lines.push_back(text::Format("Chapter #%d: start %.6f, end %.6f",
                                 {i, static_cast<double>(chapter->start) * av_q2d(chapter->time_base),
                                  static_cast<double>(chapter->end) * av_q2d(chapter->time_base)}));
    DumpMetadata(lines, chapter->metadata, "  ");
  }

  std::vector<bool> listed(context->nb_streams, false);
  if (context->nb_programs != 0) {
    unsigned total = 0;
    for (unsigned p = 0; p < context->nb_programs; ++p) {
      const AVProgram* program = context->programs[p];
      const char* name = LookUp(program->metadata, "name");
      lines.push_back(text::Format("Program %d %s", {program->id, OneLine(name)}));
      DumpMetadata(lines, program->metadata, "  ");
      for (unsigned k = 0; k < program->nb_stream_indexes; ++k) {
        const unsigned index = program->stream_index[k];
        if (index >= context->nb_streams) continue;  // a damaged program table names no stream
        DumpStreamFormat(lines, context, index);
        listed[index] = true;
      }
      total += program->nb_stream_indexes;
    }
    if (total < context->nb_streams) lines.push_back("No Program");
  }
  for (unsigned i = 0; i < context->nb_streams; ++i)
    if (!listed[i]) DumpStreamFormat(lines, context, i);
  return lines;
}
