#include "Base/MainThread.h"

#include <mutex>
#include <thread>

namespace {

struct MainThreadHooks {
  std::mutex lock;  // guards the two hooks, which may be read from any thread
  TMainThreadDispatcher dispatcher;
  TMainThreadPoster poster;
  std::thread::id mainThread = std::this_thread::get_id();
};

MainThreadHooks& Hooks() {
  static MainThreadHooks hooks;
  return hooks;
}

}  // namespace

void SetMainThreadDispatcher(TMainThreadDispatcher dispatcher) {
  std::lock_guard lock(Hooks().lock);
  Hooks().dispatcher = std::move(dispatcher);
}

void SetMainThreadPoster(TMainThreadPoster poster) {
  std::lock_guard lock(Hooks().lock);
  Hooks().poster = std::move(poster);
}

bool IsMainThread() {
  std::lock_guard lock(Hooks().lock);
  return std::this_thread::get_id() == Hooks().mainThread;
}

void CallInMainThread(const std::function<void()>& call) {
  TMainThreadDispatcher dispatcher;
  {
    std::lock_guard lock(Hooks().lock);
    if (std::this_thread::get_id() != Hooks().mainThread) dispatcher = Hooks().dispatcher;
  }
  if (dispatcher)
    dispatcher(call);
  else
    call();
}

namespace fflog {

bool PostToMainThread(std::function<void()> call) {
  TMainThreadPoster poster;
  {
    std::lock_guard lock(Hooks().lock);
    poster = Hooks().poster;
  }
  if (!poster) return false;
  poster(std::move(call));
  return true;
}

void SetMainThreadToCurrent() {
  std::lock_guard lock(Hooks().lock);
  Hooks().mainThread = std::this_thread::get_id();
}

}  // namespace fflog
