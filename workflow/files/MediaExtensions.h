// The media extensions in capitals: the one list that the window's file dialog and the
// folder walk both read. Video, Audio and Picture are the dialog's own filters; More holds
// the other kinds that the media libraries and the photo readers open, which the dialog's
// first filter ("Video/Audio/Picture Files") offers beside the three.
#pragma once
#include <string_view>

namespace media_extensions {

inline constexpr std::string_view Video[] = {".3GP", ".ASF", ".AVI", ".AVM", ".AVS", ".DAT",  ".FLV",
                                             ".MKV", ".MOV", ".MP4", ".MPEG", ".MPG", ".NSV", ".OGM",
                                             ".RM",  ".RMVB", ".TP", ".TS",  ".VOB",  ".WMV"};
inline constexpr std::string_view Audio[] = {".AAC", ".AC3", ".APE", ".DTS", ".FLAC", ".M4A", ".MKA", ".MP2", ".MP3",
                                             ".MPA", ".MPC", ".OFR", ".OGG", ".RA",   ".TTA", ".WAV", ".WMA"};
inline constexpr std::string_view Picture[] = {".BMP", ".GIF", ".JPEG", ".JPG", ".PNG"};
inline constexpr std::string_view More[] = {".3G2",  ".3GPP", ".M2TS", ".M4B", ".M4V",  ".MTS",
                                            ".OPUS", ".QT",   ".WEBM", ".HEIC", ".HEIF"};

}  // namespace media_extensions

// True when the name ends in one of the media extensions, letter case ignored.
bool HasMediaExtension(std::string_view fileName);
