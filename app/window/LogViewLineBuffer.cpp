#include "window/LogViewLineBuffer.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

QString ViewText(const std::vector<std::string>& lines) {
  const std::string joined = JoinLines(lines);
  return QString::fromUtf8(joined.data(), static_cast<qsizetype>(joined.size()));
}

}  // namespace

TLogViewLineBuffer::TLogViewLineBuffer(QPlainTextEdit& view) : View_(view) {
  Lines_ = SplitIntoLines(view.toPlainText().toStdString());
}

void TLogViewLineBuffer::Clear() {
  Lines_.clear();
  ViewStale_ = true;
}

void TLogViewLineBuffer::SetText(std::string_view text) {
  Lines_ = SplitIntoLines(text);
  ViewStale_ = true;
}

void TLogViewLineBuffer::ShowLines() {
  if (!ViewStale_) return;
  View_.setPlainText(ViewText(Lines_));
  ViewStale_ = false;
}

std::string TLogViewLineBuffer::Text() const { return JoinLines(Lines_); }

void TLogViewLineBuffer::Add(std::string_view text) {
  std::vector<std::string> added = SplitIntoLines(text);
  if (added.empty()) added.emplace_back();  // an empty entry is an empty line
  ShowLines();
  // A view that shows nothing (no line, or one empty line) would merge the entry into its
  // empty line: it is given the whole text instead.
  const bool viewEmpty = View_.document()->isEmpty();
  if (!viewEmpty) View_.appendPlainText(ViewText(added));
  Lines_.insert(Lines_.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  if (viewEmpty) View_.setPlainText(ViewText(Lines_));
}
