#include "workflow/HeaderLookup.h"

#include "workflow/ContainerDates.h"
#include "workflow/CreationTimeText.h"
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

std::string CreationTimeFromHeader(TCustomDecoder& decoder, ILineBuffer& lines, const std::string& fileName,
                                   std::vector<TFileDate>& containerDates) {
  lines.Clear();
  containerDates.clear();
  {
    TNoProbe noProbe(decoder);
    if (!decoder.LoadFile(fileName)) return {};
  }
  const std::string block = ContainerMetadataText(decoder.FormatContext());
  containerDates = ContainerDates(decoder.FormatContext());
  decoder.CloseFile();
  return CreationTimeFromReport(lines, block);
}
