// "Reading 82 of 300" on one line of standard error, rewritten in place; only when standard
// error is a terminal, so that nothing of it reaches a pipe or a file.
#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>

class TProgressLine {
 public:
  TProgressLine(std::ostream& err, bool enabled) : Err_(err), Enabled_(enabled) {}
  ~TProgressLine() { Clear(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void SetVerb(std::string verb) { Verb_ = std::move(verb); }
  // Shows "<verb> <index + 1> of <count>".
  void Show(std::size_t index, std::size_t count);
  // Erases the line, so that what follows starts on a clean one.
  void Clear();

 private:
  std::ostream& Err_;
  bool Enabled_;
  bool Shown_ = false;
  std::string Verb_;
};
