#include "workflow/run/CopyBatch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

void Write(TPendingCopy& copy, const std::atomic<bool>* stop, std::atomic<std::uint64_t>& written) {
  // The file the user chose may be a link to follow; a companion found beside it may not.
  const auto wrote = copy.Staged.Write(copy.Source, copy.Folder, !copy.Companion, stop, &written);
  if (!wrote) copy.Error = wrote.Message();
  if (wrote && copy.Mtime) copy.MtimeError = copy.Staged.SetModificationTime(*copy.Mtime).Message();
}

// How often the calling thread tells the bytes written while the workers copy.
constexpr auto ProgressInterval = std::chrono::milliseconds(100);

}  // namespace

void WriteAndSync(std::vector<TPendingCopy>& copies, unsigned workers, const std::atomic<bool>* stop,
                  const TBytesWrittenEvent& onWritten) {
  std::atomic<std::size_t> next{0};
  std::atomic<std::uint64_t> written{0};
  std::mutex mutex;
  std::condition_variable finished;
  std::size_t running = 0;
  const auto work = [&] {
    for (std::size_t index; (index = next++) < copies.size();) {
      if (stop && stop->load()) break;
      Write(copies[index], stop, written);
    }
  };
  const auto workAndSay = [&] {
    work();
    const std::lock_guard lock(mutex);
    --running;
    finished.notify_one();
  };
  // With progress to tell, every copy goes to a worker and the calling thread tells how far
  // they are; threads that cannot start leave their share to the ones that did, the calling
  // one at least.
  const std::size_t wanted = std::min<std::size_t>(std::max(workers, 1u), copies.size());
  const std::size_t extra = onWritten ? wanted : (wanted > 1 ? wanted - 1 : 0);
  std::vector<std::jthread> threads;
  for (std::size_t count = 0; count < extra; ++count) {
    try {
      const std::lock_guard lock(mutex);
      threads.emplace_back(workAndSay);
      ++running;
    } catch (const std::system_error&) {
      break;
    }
  }
  if (onWritten && !threads.empty()) {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, ProgressInterval, [&] { return running == 0; })) {
      lock.unlock();
      onWritten(written.load());
      lock.lock();
    }
  }
  work();
  threads.clear();
  if (onWritten) onWritten(written.load());
  if (stop && stop->load()) return;
  for (TPendingCopy& copy : copies) {
    if (!copy.Error.empty()) continue;
    const auto synced = copy.Staged.Sync();
    copy.Error = synced.Message();
    if (!synced) copy.Staged = {};
  }
}
