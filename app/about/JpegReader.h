// JPEG decoding with libjpeg, without any toolkit.
#pragma once
#include <span>
#include <string>
#include <vector>

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // rows of width * 3 bytes, top row first
};

// Decodes JPEG bytes into 8-bit RGB. On failure returns false with libjpeg's message in
// `error` and leaves `picture` empty. Damage that libjpeg would only warn about and paper
// over (a truncated stream, a corrupt segment) counts as failure too.
bool DecodeJpeg(std::span<const unsigned char> data, RgbPicture& picture, std::string& error);
