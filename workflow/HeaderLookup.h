// The creation time from the container's header alone: the decoder opens the file without
// probing its streams, and the container-level metadata block, written by the same rules
// as in the full information text, goes through the same text steps. That block is the
// only place in the text where the creation-time key can match, so whatever this finds is
// what the full lookup finds on the same header.
#pragma once
#include <string>
#include <vector>

#include "workflow/FileDate.h"

class TCustomDecoder;
class ILineBuffer;

// The raw value (it may begin with a blank), or empty when the open fails or the header
// holds no container-level creation time; the caller then takes the full lookup, which
// also sees metadata that some containers only reveal while packets are read. `lines`
// holds the processed metadata block afterwards. The decoder's libraries must be loaded.
// `containerDates` receives the header's other dates (ContainerDates).
std::string CreationTimeFromHeader(TCustomDecoder& decoder, ILineBuffer& lines, const std::string& fileName,
                                   std::vector<TFileDate>& containerDates);
