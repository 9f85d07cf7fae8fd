#include "workflow/dates/ContainerDates.h"

#include <string>

#include "FFLoad/EntryPoints.h"
#include "Text/Trim.h"

namespace {

constexpr const char* OtherStreamMark = " (other)";

void AddEntry(std::vector<TFileDate>& dates, AVDictionary* dictionary, const char* key, std::string source) {
  const AVDictionaryEntry* entry = ff::avutil.av_dict_get(dictionary, key, nullptr, 0);
  if (!entry || !entry->value) return;
  const std::string trimmed = text::TrimControls(entry->value);
  if (!trimmed.empty()) dates.push_back({std::move(source), entry->value, ParseCreationTime(trimmed)});
}

bool IsVideoOrAudio(const AVStream* stream) {
  return stream->codecpar &&
         (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO || stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO);
}

}  // namespace

std::vector<TFileDate> ContainerDates(const AVFormatContext* context) {
  std::vector<TFileDate> dates;
  if (!context) return dates;
  AddEntry(dates, context->metadata, "com.apple.quicktime.creationdate", "com.apple.quicktime.creationdate");
  for (unsigned index = 0; index < context->nb_streams; ++index)
    if (IsVideoOrAudio(context->streams[index]))
      AddEntry(dates, context->streams[index]->metadata, "creation_time",
               "stream #" + std::to_string(index) + " creation_time");
  AddEntry(dates, context->metadata, "DATE_RECORDED", "DATE_RECORDED");
  AddEntry(dates, context->metadata, "DATE_UTC", "DATE_UTC");
  for (unsigned index = 0; index < context->nb_streams; ++index)
    if (!IsVideoOrAudio(context->streams[index]))
      AddEntry(dates, context->streams[index]->metadata, "creation_time",
               "stream #" + std::to_string(index) + OtherStreamMark + " creation_time");
  return dates;
}

bool IsUsableContainerDate(const TFileDate& date) { return date.Source.find(OtherStreamMark) == std::string::npos; }
