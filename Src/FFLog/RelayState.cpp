#include "FFLog/RelayState.h"

#include "FFLog/FFLog.h"

namespace fflog {

RelayState& Relay() {
  static RelayState state;
  return state;
}

}  // namespace fflog
