#include "workflow/lookup/HeaderLookup.h"

#include <optional>

#include "workflow/dates/ContainerDates.h"
#include "workflow/lookup/CreationTimeText.h"
#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FileInfoText.h"

namespace {

// Switches the decoder's stream probe off for one open and back to what it was.
class TNoProbe {
 public:
  explicit TNoProbe(TCustomDecoder& decoder) : Decoder_(decoder), Saved_(decoder.ProbeStreams) {
    decoder.ProbeStreams = false;
  }
  ~TNoProbe() { Decoder_.ProbeStreams = Saved_; }
  TNoProbe(const TNoProbe&) = delete;
  TNoProbe& operator=(const TNoProbe&) = delete;

 private:
  TCustomDecoder& Decoder_;
  bool Saved_;
};

}  // namespace

std::string CreationTimeFromMetadata(AVDictionary* metadata) {
  std::string value;
  ForEachMetadataEntry(metadata, [&value](const char* key, const char* text) {
    const std::string line = ReplaceAll(MetadataEntryLines("", key, text).front(), " : ", " = ");
    std::optional<std::string> found = ValueBehindKey(line, CreationTimeKey());
    if (found) value = std::move(*found);
    return !found;
  });
  return value;
}

std::string CreationTimeFromHeader(TCustomDecoder& decoder, const std::string& fileName,
                                   std::vector<TFileDate>& containerDates, TCamera* camera) {
  containerDates.clear();
  {
    TNoProbe noProbe(decoder);
    if (!decoder.LoadFile(fileName)) return {};
  }
  std::string value = CreationTimeFromMetadata(decoder.FormatContext()->metadata);
  containerDates = ContainerDates(decoder.FormatContext());
  if (camera) *camera = ContainerCamera(decoder.FormatContext());
  decoder.CloseFile();
  return value;
}
