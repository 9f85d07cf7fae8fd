#include "FFLoad/LoaderFollowUps.h"

#include <vector>

namespace {

// Made on first use, so that static initialisers of other files can register.
std::vector<TLoaderFollowUp>& Registered() {
  static std::vector<TLoaderFollowUp> followUps;
  return followUps;
}

}  // namespace

bool AddLoaderFollowUp(const TLoaderFollowUp& followUp) {
  Registered().push_back(followUp);
  return true;
}

std::span<const TLoaderFollowUp> LoaderFollowUps() { return Registered(); }
