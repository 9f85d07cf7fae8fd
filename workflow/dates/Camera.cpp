#include "workflow/dates/Camera.h"

#include "FFLoad/EntryPoints.h"
#include "Text/Trim.h"

namespace {

// The first of `keys` with a value that is not blank, trimmed.
std::string FirstValue(AVDictionary* metadata, std::initializer_list<const char*> keys) {
  for (const char* key : keys) {
    const AVDictionaryEntry* entry = ff::avutil.av_dict_get(metadata, key, nullptr, 0);
    if (!entry || !entry->value) continue;
    if (std::string value = text::TrimControls(entry->value); !value.empty()) return value;
  }
  return {};
}

}  // namespace

TCamera ContainerCamera(const AVFormatContext* context) {
  if (!context) return {};
  return {FirstValue(context->metadata, {"com.apple.quicktime.make", "make"}),
          FirstValue(context->metadata, {"com.apple.quicktime.model", "model"})};
}
