#include "FFLog/LogList.h"

namespace fflog {

TLogItem& TLogList::FindOrAdd(std::uint32_t threadId) {
  for (TLogItem& item : items_)
    if (item.threadId == threadId) return item;
  items_.push_front({threadId, {}});
  return items_.front();
}

}  // namespace fflog
