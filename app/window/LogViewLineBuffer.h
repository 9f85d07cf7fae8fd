// The log view's lines as the renaming workflow's line buffer. The buffer keeps the lines as
// the workflow wrote them (bytes, not necessarily UTF-8) and the view shows the same lines,
// so what the workflow reads back is exactly what it wrote. Replacing the view's whole text
// costs about a sixth of a lookup, so Clear and SetText only mark the view stale; ShowLines
// (which the window calls before it repaints and when a handler ends) and Add bring it up
// to date.
#pragma once
#include <string>
#include <vector>

#include "workflow/lookup/LineBuffer.h"

class QPlainTextEdit;

class TLogViewLineBuffer final : public ILineBuffer {
 public:
  // `view` is used, not owned, and must outlive the buffer.
  explicit TLogViewLineBuffer(QPlainTextEdit& view);

  void Clear() override;
  void SetText(std::string_view text) override;
  std::string Text() const override;
  std::size_t Count() const override { return Lines_.size(); }
  std::string Line(std::size_t index) const override { return Lines_.at(index); }

  // Adds one entry; line breaks inside it become lines of their own.
  void Add(std::string_view text);
  // Makes the view show exactly the buffer's lines.
  void ShowLines();

 private:
  QPlainTextEdit& View_;
  std::vector<std::string> Lines_;
  bool ViewStale_ = false;
};
