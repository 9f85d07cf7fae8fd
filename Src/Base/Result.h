// The outcome of a call that can fail, in one shape: success, or a failure with the text to
// show and, where the system gave one, its error number (0 otherwise, as for "not a regular
// file"). TResultOf<K> also tells which failure it was, for a caller that acts on one of
// them (a name found taken: try the next). K is an enum whose first enumerator, the value
// 0, means success; TResult is the plain one, which only fails.
#pragma once
#include <string>
#include <type_traits>
#include <utility>

enum class TResultKind { Ok, Failed };

template <typename K>
class [[nodiscard]] TResultOf {
  static_assert(std::is_enum_v<K>, "a result's kind is an enum whose value 0 means success");

 public:
  // Success.
  TResultOf() = default;
  // The failure `kind` (not the success value).
  TResultOf(K kind, std::string message, int errorNumber = 0)
      : Kind_(kind), ErrorNumber_(errorNumber), Message_(std::move(message)) {}
  // A result of a finer kind as a plain one: success stays success, any failure fails with
  // the same message and number.
  template <typename Other>
    requires(std::is_same_v<K, TResultKind> && !std::is_same_v<Other, TResultKind>)
  TResultOf(const TResultOf<Other>& other)  // NOLINT: a plain result is what every caller can take
      : Kind_(other.ok() ? TResultKind::Ok : TResultKind::Failed),
        ErrorNumber_(other.ErrorNumber()),
        Message_(other.Message()) {}

  bool ok() const { return Kind_ == K{}; }
  explicit operator bool() const { return ok(); }
  K Kind() const { return Kind_; }
  // The system's error number of the failure, 0 when it has none (and on success).
  int ErrorNumber() const { return ErrorNumber_; }
  // What went wrong, as it is shown; empty on success.
  const std::string& Message() const { return Message_; }

 private:
  K Kind_{};
  int ErrorNumber_ = 0;
  std::string Message_;
};

using TResult = TResultOf<TResultKind>;
