// "Reading 82 of 300" on one line of standard error, rewritten in place; only when standard
// error is a terminal, so that nothing of it reaches a pipe or a file. A copy adds its bytes:
// "Copying 82 of 300, 120 MiB of 666 MiB".
#pragma once
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

class TProgressLine {
 public:
  TProgressLine(std::ostream& err, bool enabled) : Err_(err), Enabled_(enabled) {}
  ~TProgressLine() { Clear(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void SetVerb(std::string verb) { Verb_ = std::move(verb); }
  // Shows "<verb> <index + 1> of <count>", and the bytes once SetBytes gave them.
  void Show(std::size_t index, std::size_t count);
  void SetBytes(std::uint64_t done, std::uint64_t total);
  // Erases the line, so that what follows starts on a clean one.
  void Clear();

 private:
  std::ostream& Err_;
  bool Enabled_;
  bool Shown_ = false;
  std::string Verb_;
  std::string Bytes_;
  std::size_t Index_ = 0;  // of the line shown last
  std::size_t Count_ = 0;
};

// A size as people read it: "512 KiB", "666 MiB".
std::string SizeText(std::uint64_t bytes);
