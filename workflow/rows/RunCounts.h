// How many rows a rename or copy reached and how they ended, for the summaries that people
// read at its end.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "workflow/rows/FileRow.h"

struct TRunCounts {
  std::size_t Done = 0;
  std::size_t Skipped = 0;
  std::size_t Failed = 0;
  // The companions that the rows name as gone with their files (also those that a file
  // whose own copy was skipped because its bytes were there already brought).
  std::size_t Companions = 0;

  void Add(const TRowResult& result);
  std::size_t Reached() const { return Done + Skipped + Failed; }
};

TRunCounts CountRows(const std::vector<TFileRow>& rows);

// " (+8 companions)", or empty when no companion went.
std::string CompanionCountText(std::size_t companions);
