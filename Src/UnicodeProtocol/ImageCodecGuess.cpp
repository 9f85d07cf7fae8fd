// Whether a name is that of a still picture, judged by its extension the way the libraries'
// image-sequence demuxer does.
#include <array>
#include <cstdint>
#include <cstring>

#include "FFLoad/EntryPoints.h"
#include "Text/Ascii.h"
#include "UnicodeProtocol/UnicodeProtocol.h"

namespace {

struct ImageExtension {
  const char* extension;
  std::int32_t codecId;  // any non-zero value: only whether a row matches is used
};

// Searched from the first row.
constexpr std::array<ImageExtension, 48> kImageExtensions = {{
    {"jpeg", 8},        {"jpg", 8},         {"jps", 8},          {"ljpg", 10},
    {"jls", 12},        {"png", 62},        {"pns", 62},         {"mng", 62},
    {"ppm", 63},        {"pnm", 63},        {"pgm", 65},         {"pgmyuv", 66},
    {"pbm", 64},        {"pam", 67},        {"mpg1-img", 1},     {"mpg2-img", 2},
    {"mpg4-img", 13},   {"ffv1-img", 34},   {"y", 14},           {"raw", 14},
    {"bmp", 79},        {"gif", 98},        {"tga", 94},         {"tiff", 97},
    {"tif", 97},        {"sgi", 102},       {"ptx", 105},        {"pcx", 110},
    {"pix", 1112557912}, {"sun", 111},      {"ras", 111},        {"rs", 111},
    {"im1", 111},       {"im8", 111},       {"im24", 111},       {"im32", 111},
    {"sunras", 111},    {"j2c", 89},        {"j2k", 89},         {"jp2", 89},
    {"jpc", 89},        {"dpx", 129},       {"exr", 809850962},  {"pic", 142},
    {"yuv10", 126},     {"xbm", 161},       {"xface", 1480999235}, {"xwd", 159},
}};

const char* LastDot(const char* name) {
  if (ff::msvcrt.strrchr) return ff::msvcrt.strrchr(name, '.');
  return std::strrchr(name, '.');
}

bool EqualIgnoringCase(const char* a, const char* b) {
  if (ff::avutil.av_strcasecmp) return ff::avutil.av_strcasecmp(a, b) == 0;
  return text::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

std::int32_t GuessImageCodec(const char* name) {
  if (!name) return 0;
  if (ff::avformat.ff_guess_image2_codec) return ff::avformat.ff_guess_image2_codec(name);
  const char* dot = LastDot(name);
  if (!dot) return 0;
  for (const ImageExtension& row : kImageExtensions)
    if (EqualIgnoringCase(row.extension, dot + 1)) return row.codecId;
  return 0;
}
