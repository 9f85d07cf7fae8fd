#include "workflow/CopyBatch.h"

#include <algorithm>
#include <thread>


namespace {

void Write(TPendingCopy& copy, const std::atomic<bool>* stop) {
  // The file the user chose may be a link to follow; a companion found beside it may not.
  if (!copy.Staged.Write(copy.Source, copy.Folder, !copy.Companion, stop, copy.Error)) return;
  if (copy.Mtime) copy.Staged.SetModificationTime(*copy.Mtime, copy.MtimeError);
}

}  // namespace

void WriteAndSync(std::vector<TPendingCopy>& copies, unsigned workers, const std::atomic<bool>* stop) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t index; (index = next++) < copies.size();) {
      if (stop && stop->load()) return;
      Write(copies[index], stop);
    }
  };
  // Threads that cannot start leave their share to the ones that did, the calling one at least.
  std::vector<std::jthread> threads;
  const unsigned extra = std::min<std::size_t>(workers, copies.size()) > 1
                             ? static_cast<unsigned>(std::min<std::size_t>(workers, copies.size()) - 1)
                             : 0u;
  for (unsigned count = 0; count < extra; ++count) {
    try {
      threads.emplace_back(work);
    } catch (const std::system_error&) {
      break;
    }
  }
  work();
  threads.clear();
  if (stop && stop->load()) return;
  for (TPendingCopy& copy : copies)
    if (copy.Error.empty() && !copy.Staged.Sync(copy.Error)) copy.Staged = {};
}
