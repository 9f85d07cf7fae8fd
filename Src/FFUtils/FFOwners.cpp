#include "FFUtils/FFOwners.h"

namespace ff {

CodecContextPtr CodecContextFromParameters(const AVCodecParameters* parameters) {
  CodecContextPtr context(ff::avcodec.avcodec_alloc_context3(nullptr));
  if (context && ff::avcodec.avcodec_parameters_to_context(context.get(), parameters) < 0) context.reset();
  return context;
}

}  // namespace ff
