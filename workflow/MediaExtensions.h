// The media extensions in capitals, as the window's file dialog lists them: the one list
// that the dialog's filters and the folder walk both read.
#pragma once
#include <string_view>

namespace media_extensions {

inline constexpr std::string_view Video[] = {".3GP", ".ASF", ".AVI", ".AVM", ".AVS", ".DAT",  ".FLV",
                                             ".MKV", ".MOV", ".MP4", ".MPEG", ".MPG", ".NSV", ".OGM",
                                             ".RM",  ".RMVB", ".TP", ".TS",  ".VOB",  ".WMV"};
inline constexpr std::string_view Audio[] = {".AAC", ".AC3", ".APE", ".DTS", ".FLAC", ".M4A", ".MKA", ".MP2", ".MP3",
                                             ".MPA", ".MPC", ".OFR", ".OGG", ".RA",   ".TTA", ".WAV", ".WMA"};
inline constexpr std::string_view Picture[] = {".BMP", ".GIF", ".JPEG", ".JPG", ".PNG"};
// Taken by the folder walk beside the dialog's three lists: newer clip and photo formats.
inline constexpr std::string_view More[] = {".MTS", ".M2TS", ".3G2", ".WEBM", ".HEIC", ".HEIF"};

}  // namespace media_extensions
