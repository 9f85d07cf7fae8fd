#include "FFLoad/LoadFailure.h"

#include "Text/Format.h"

std::string LoadFailureText(const TLoadFailure& failure) {
  switch (failure.Step) {
    case TLoadFailure::TStep::None:
      break;
    case TLoadFailure::TStep::Module:
      return text::Format("Load library %s error: %s", {failure.Path, failure.Reason});
    case TLoadFailure::TStep::EntryPoint:
      return text::Format("Load function %s@%s error: %s", {failure.EntryPoint, failure.Path, failure.Reason});
  }
  return {};
}
