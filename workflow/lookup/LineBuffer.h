// The working space of the creation-time lookup: an ordered list of text lines. The window
// hands in the lines of its log view; anything else can use TVectorLineBuffer.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ILineBuffer {
 public:
  virtual ~ILineBuffer() = default;

  virtual void Clear() = 0;
  // Replaces every line by the lines of `text`, split at CR LF, a lone CR or a lone LF.
  // A break at the very end does not start a further, empty line; an empty text gives no line.
  virtual void SetText(std::string_view text) = 0;
  // The lines joined with LF between them (no break after the last one).
  virtual std::string Text() const = 0;
  virtual std::size_t Count() const = 0;
  // `index` must be below Count().
  virtual std::string Line(std::size_t index) const = 0;
};

// The line splitting and joining that every buffer shares, so that each gives the same lines.
std::vector<std::string> SplitIntoLines(std::string_view text);
std::string JoinLines(const std::vector<std::string>& lines);

class TVectorLineBuffer final : public ILineBuffer {
 public:
  void Clear() override { Lines_.clear(); }
  void SetText(std::string_view text) override { Lines_ = SplitIntoLines(text); }
  std::string Text() const override { return JoinLines(Lines_); }
  std::size_t Count() const override { return Lines_.size(); }
  std::string Line(std::size_t index) const override { return Lines_.at(index); }

  const std::vector<std::string>& Lines() const { return Lines_; }

 private:
  std::vector<std::string> Lines_;
};
