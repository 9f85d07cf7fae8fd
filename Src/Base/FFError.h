// The ordinary error class of the media component: raised where a caller broke a
// precondition ("Library %s not loaded.") and by the binding routines, whose message the
// loader turns into its last-error text.
#pragma once
#include <stdexcept>
#include <string>

class EFFError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A caller error such as a second application logger: the program is wrong, not the input.
class EAssertionFailed : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};
