// Why the loader could not load a library: which library, which entry point and the
// system's reason, so that callers can act on the parts and people read one text.
#pragma once
#include <string>

struct TLoadFailure {
  enum class TStep {
    None,        // nothing failed yet
    Module,      // the module itself did not load
    EntryPoint,  // the module loaded but lacks a required export
  };
  TStep Step = TStep::None;
  int Library = -1;        // the library's index in the table
  std::string Path;        // Module: the path tried first; EntryPoint: the module's file name
  std::string EntryPoint;  // EntryPoint only: the missing export
  std::string Reason;      // the system's message

  bool operator==(const TLoadFailure&) const = default;
};

// "Load library PATH error: REASON" or "Load function NAME@FILE error: REASON"; empty for
// no failure.
std::string LoadFailureText(const TLoadFailure& failure);
