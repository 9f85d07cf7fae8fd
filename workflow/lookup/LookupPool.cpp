#include "workflow/lookup/LookupPool.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "FFDecode/FFDecoder.h"
#include "workflow/lookup/CreationTimeLookup.h"
#include "workflow/lookup/LineBuffer.h"

namespace {

// What the workers share: the next name to take and which rows are done. Each row is
// written by one worker and read by the collector only after that worker marked it done
// under the lock.
class TLookupBoard {
 public:
  TLookupBoard(std::size_t count, const std::atomic<bool>* stop) : Rows_(count), Done_(count, false), Stop_(stop) {}

  // The index of the next name to look up, or false when there is none left or the run
  // was stopped.
  bool Take(std::size_t& index) {
    {
      std::lock_guard lock(Lock_);
      if (Stop_ && Stop_->load()) Stopped_ = true;
      if (!Stopped_ && !Failure_ && Next_ < Rows_.size()) {
        index = Next_++;
        return true;
      }
    }
    Changed_.notify_all();
    return false;
  }

  void Finish(std::size_t index, TFileRow row) {
    {
      std::lock_guard lock(Lock_);
      Rows_[index] = std::move(row);
      Done_[index] = true;
    }
    Changed_.notify_all();
  }

  void Fail(std::exception_ptr failure) {
    {
      std::lock_guard lock(Lock_);
      if (!Failure_) Failure_ = failure;
    }
    Changed_.notify_all();
  }

  // Waits until row `index` is done; false when a worker failed, or when the run was
  // stopped before any worker took that row.
  bool WaitFor(std::size_t index) {
    std::unique_lock lock(Lock_);
    Changed_.wait(lock, [&] { return Done_[index] || Failure_ || (Stopped_ && index >= Next_); });
    return Done_[index];
  }

  std::exception_ptr Failure() {
    std::lock_guard lock(Lock_);
    return Failure_;
  }

  // A copy of row `index`, once WaitFor said it is done.
  TFileRow Row(std::size_t index) {
    std::lock_guard lock(Lock_);
    return Rows_[index];
  }

  // The first `count` rows; only once every worker has ended.
  std::vector<TFileRow> TakeRows(std::size_t count) {
    Rows_.resize(count);
    return std::move(Rows_);
  }

 private:
  std::mutex Lock_;
  std::condition_variable Changed_;
  std::vector<TFileRow> Rows_;
  std::vector<bool> Done_;
  const std::atomic<bool>* Stop_;
  std::size_t Next_ = 0;
  bool Stopped_ = false;
  std::exception_ptr Failure_;
};

void RunWorker(TLookupBoard& board, const std::vector<std::string>& fileNames, const TLookupOptions& options,
               const std::atomic<bool>* stop) {
  try {
    TFFDecoder decoder;
    TVectorLineBuffer lines;
    TCreationTimeLookup lookup(decoder, lines, options);
    lookup.SetStopFlag(stop);
    for (std::size_t index = 0; board.Take(index);) board.Finish(index, lookup.LookUpRow(fileNames[index]));
  } catch (...) {
    board.Fail(std::current_exception());
  }
}

}  // namespace

std::vector<TFileRow> LookUpRowsOnWorkers(const std::vector<std::string>& fileNames, unsigned workers,
                                          const TLookupOptions& options, const TProgressEvent& progress,
                                          const std::atomic<bool>* stop, std::string* shortfall,
                                          const TRowDoneEvent& rowRead) {
  TLookupBoard board(fileNames.size(), stop);
  std::size_t collected = 0;
  {
    std::vector<std::jthread> threads;
    const std::size_t count = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(fileNames.size(), 1));
    threads.reserve(count);
    std::string refusal;
    for (std::size_t worker = 0; worker < count && refusal.empty(); ++worker) {
      try {
        threads.emplace_back(RunWorker, std::ref(board), std::cref(fileNames), std::cref(options), stop);
      } catch (const std::system_error& error) {
        refusal = error.code().message();
      }
    }
    if (!refusal.empty() && shortfall)
      *shortfall = "only " + std::to_string(threads.size()) + " of " + std::to_string(count) +
                   " lookup threads could start (" + refusal + "); the files were read on " +
                   (threads.empty() ? std::string("the calling thread") : std::to_string(threads.size()));
    // Without any worker the calling thread does their work before it collects the rows.
    if (threads.empty()) RunWorker(board, fileNames, options, stop);
    for (; collected < fileNames.size(); ++collected) {
      if (progress) progress(collected, fileNames.size(), fileNames[collected]);
      // A row done after the stop may be one that the stop cut short.
      if (!board.WaitFor(collected) || (stop && stop->load())) break;
      if (rowRead) rowRead(board.Row(collected));
    }
  }  // the workers end here
  if (std::exception_ptr failure = board.Failure()) std::rethrow_exception(failure);
  return board.TakeRows(collected);
}
