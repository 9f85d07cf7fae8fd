// The creation time from the container's header alone: the decoder opens the file without
// probing its streams, and the container-level metadata is read straight from its
// dictionary, each entry's line taken by the rules of the full information text. That block
// is the only place in the text where the creation-time key can match, so whatever this
// finds is what the full lookup finds on the same header.
#pragma once
#include <string>
#include <vector>

#include "workflow/dates/Camera.h"
#include "workflow/dates/FileDate.h"

#include "FFLoad/MediaHeaders.h"

class TCustomDecoder;

// The raw value (it may begin with a blank), or empty when the open fails or the header
// holds no container-level creation time; the caller then takes the full lookup, which
// also sees metadata that some containers only reveal while packets are read. The
// decoder's libraries must be loaded. `containerDates` receives the header's other dates
// (ContainerDates), and `camera` (when not null) the camera it names (ContainerCamera).
std::string CreationTimeFromHeader(TCustomDecoder& decoder, const std::string& fileName,
                                   std::vector<TFileDate>& containerDates, TCamera* camera = nullptr);

// What the text steps of the lookup find behind the creation-time key in the report of a
// container whose metadata is `metadata`, without writing the report: each entry's first
// line as the report writes it, with " : " made " = " (continuation lines begin with
// blanks up to their colon and never match).
std::string CreationTimeFromMetadata(AVDictionary* metadata);
