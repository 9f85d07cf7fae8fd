// The file information text: a plain-text report of an open container, its metadata,
// chapters, programs and streams. The renaming workflow reads the container's creation
// time out of it, so every line that is not a metadata value stays on one line.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FFLoad/MediaHeaders.h"

std::vector<std::string> DumpFormat(AVFormatContext* context);
void DumpStreamFormat(std::vector<std::string>& lines, AVFormatContext* context, unsigned index);
void DumpMetadata(std::vector<std::string>& lines, AVDictionary* dictionary, const std::string& indent);
// The front of a metadata line: `indent`, two blanks, the key padded with blanks to 16
// characters, ": ". The one definition of that layout; readers of the report derive the
// keys they look for from it.
std::string MetadataLinePrefix(std::string_view indent, std::string_view key);
// Calls `visit` with each entry (key, value) of `dictionary` that DumpMetadata writes, in
// its order, until `visit` returns false.
using TMetadataEntryVisitor = std::function<bool(const char* key, const char* value)>;
void ForEachMetadataEntry(AVDictionary* dictionary, const TMetadataEntryVisitor& visit);
// The lines that DumpMetadata writes for one entry: the first behind MetadataLinePrefix,
// each further line of the value behind that prefix without a key.
std::vector<std::string> MetadataEntryLines(std::string_view indent, const char* key, const char* value);
// The lines of the report, each followed by CR LF.
std::string JoinReportLines(const std::vector<std::string>& lines);

// ", 25 fps", ", 23.98 fps", ", 25k tbn".
std::string FormatRate(double rate, const char* unit);
// "%d.%.6d" seconds of `t` in `timeBase`; empty for AV_NOPTS_VALUE.
std::string FormatStartTime(AVRational timeBase, std::int64_t t);

// The size of the open source: what its I/O context reports, or the size of the named
// file when that gives nothing; 0 when neither knows.
std::int64_t ContainerFileSize(AVFormatContext* context);
