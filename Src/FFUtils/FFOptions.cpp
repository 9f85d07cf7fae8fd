#include "FFUtils/FFOptions.h"

#include "FFLoad/EntryPoints.h"

void TFFOptions::InitOptions() {
  ClearOptions();
  SwsOptions = ff::swscale.sws_getContext(16, 16, AV_PIX_FMT_YUV420P, 16, 16, AV_PIX_FMT_YUV420P, SwsFlags, nullptr,
                                          nullptr, nullptr);
}

void TFFOptions::ClearOptions() {
  if (ff::swscale.sws_freeContext) ff::swscale.sws_freeContext(SwsOptions);
  SwsOptions = nullptr;
  // Without avutil the dictionaries stay as they are, to be freed once it is back.
  if (ff::avutil.av_dict_free) {
    for (AVDictionary** dictionary : {&SwrOptions, &FormatOptions, &CodecOptions, &ResampleOptions})
      ff::avutil.av_dict_free(dictionary);
  }
}
