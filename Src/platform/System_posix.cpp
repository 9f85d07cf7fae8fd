#include "platform/System.h"

#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

namespace platform {

std::uint32_t CurrentThreadId() { return static_cast<std::uint32_t>(::gettid()); }

char DecimalSeparator() {
  static const char separator = [] {
    char result = '.';
    if (locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0))) {
      const char* radix = ::nl_langinfo_l(RADIXCHAR, user);
      if (radix && radix[0] && !radix[1]) result = radix[0];
      ::freelocale(user);
    }
    return result;
  }();
  return separator;
}

}  // namespace platform
