// The files of a benchmark corpus folder as make_corpus.sh leaves them.
#pragma once
#include <string>
#include <vector>

struct TCorpus {
  std::vector<std::string> All;    // every media file, sorted by name
  std::vector<std::string> Small;  // small_*
  std::vector<std::string> Large;  // large_*
};

// The regular files of `folder` whose names do not start with a dot; empty lists when the
// folder cannot be read.
TCorpus ReadCorpus(const std::string& folder);
