#include "bench/BareLookup.h"

#include "FFLoad/EntryPoints.h"
#include "FFUtils/FFOwners.h"

std::string BareCreationTime(const std::string& path) {
  AVFormatContext* opened = nullptr;
  // The libraries free the context themselves when the open fails.
  if (ff::avformat.avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) return {};
  const ff::InputContextPtr context(opened);
  if (ff::avformat.avformat_find_stream_info(context.get(), nullptr) < 0) return {};
  const AVDictionaryEntry* entry = ff::avutil.av_dict_get(context->metadata, "creation_time", nullptr, 0);
  return entry ? std::string(entry->value) : std::string();
}
