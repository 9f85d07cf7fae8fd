// Per-thread pending text of the library callback: the part of a thread's output that has
// not reached a line feed yet. One node per thread that ever logged through the callback;
// nodes stay until the list is cleared at unit shutdown.
#pragma once
#include <cstdint>
#include <forward_list>
#include <string>

namespace fflog {

struct TLogItem {
  std::uint32_t threadId = 0;
  std::string pendingText;
};

class TLogList {
 public:
  // The node of `threadId`, added (newest first, with empty text) when absent.
  TLogItem& FindOrAdd(std::uint32_t threadId);
  void Clear() { items_.clear(); }

 private:
  std::forward_list<TLogItem> items_;
};

}  // namespace fflog
