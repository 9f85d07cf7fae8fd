#include "UnicodeProtocol/ProtocolRegistration.h"

#include <cstring>

#include "FFLoad/EntryPoints.h"
#include "UnicodeProtocol/ProtocolRecord.h"

namespace {

bool SameName(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

}  // namespace

bool RegisterProtocol(ff::legacy::ProtocolRecord* protocol) {
  const auto next = ff::avformat.ffurl_protocol_next;
  const auto registerProtocol = ff::avformat.ffurl_register_protocol;
  if (!next || !registerProtocol) return false;
  for (const ff::legacy::ProtocolRecord* known = next(nullptr); known; known = next(known))
    if (SameName(known->name, protocol->name)) return true;
  registerProtocol(protocol);  // its result tells nothing the caller acts on
  return true;
}
