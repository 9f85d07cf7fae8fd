#include "bench/Corpus.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

TCorpus ReadCorpus(const std::string& folder) {
  TCorpus corpus;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".") || !entry.is_regular_file(error)) continue;
    corpus.All.push_back(entry.path().string());
  }
  std::sort(corpus.All.begin(), corpus.All.end());
  for (const std::string& path : corpus.All) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.starts_with("small_")) corpus.Small.push_back(path);
    if (name.starts_with("large_")) corpus.Large.push_back(path);
  }
  return corpus;
}
