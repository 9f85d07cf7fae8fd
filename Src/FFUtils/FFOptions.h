// The option store a decoder owns: dictionaries handed to the libraries for one open, and a
// throw-away scaler context that only carries scaler options.
#pragma once
#include <cstdint>

#include "FFLoad/MediaHeaders.h"

class TFFOptions {
 public:
  TFFOptions() = default;
  ~TFFOptions() { ClearOptions(); }
  TFFOptions(const TFFOptions&) = delete;
  TFFOptions& operator=(const TFFOptions&) = delete;

  // ClearOptions, then a fresh scaler option context. Needs the libraries loaded.
  void InitOptions();
  // Frees whatever the bound entry points can free; safe while the libraries are not loaded.
  void ClearOptions();

  std::int32_t SwsFlags = SWS_BICUBIC;
  SwsContext* SwsOptions = nullptr;
  AVDictionary* SwrOptions = nullptr;
  AVDictionary* FormatOptions = nullptr;
  AVDictionary* CodecOptions = nullptr;
  AVDictionary* ResampleOptions = nullptr;
};
