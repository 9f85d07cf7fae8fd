#include "platform/RecursiveMutex.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform {

// The owner and depth are kept here as well, so that a release by another thread is
// refused before it reaches pthread_mutex_unlock, which tools such as ThreadSanitizer
// treat as a fault even though the call itself answers EPERM.
struct RecursiveMutex::Native {
  pthread_mutex_t mutex;
  std::atomic<pid_t> owner{0};  // written only by the thread that holds the mutex
  int depth = 0;
};

std::unique_ptr<RecursiveMutex> RecursiveMutex::Create(int& error) {
  pthread_mutexattr_t attributes;
  error = ::pthread_mutexattr_init(&attributes);
  if (error) return nullptr;
  error = ::pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  if (!error) error = ::pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
  std::unique_ptr<RecursiveMutex> result;
  if (!error) {
    auto native = std::make_unique<Native>();
    error = ::pthread_mutex_init(&native->mutex, &attributes);
    if (!error) {
      result.reset(new RecursiveMutex);
      result->native_ = std::move(native);
    }
  }
  ::pthread_mutexattr_destroy(&attributes);
  return result;
}

RecursiveMutex::~RecursiveMutex() { ::pthread_mutex_destroy(&native_->mutex); }

int RecursiveMutex::Obtain() {
  const pid_t self = ::gettid();
  int result = ::pthread_mutex_lock(&native_->mutex);
  if (result == EOWNERDEAD) {
    // The previous owner ended while holding it: the lock is ours now, once, whatever
    // depth that owner had reached; mark it usable again.
    native_->owner.store(0, std::memory_order_relaxed);
    result = ::pthread_mutex_consistent(&native_->mutex);
  }
  if (result != 0) return result;
  if (native_->owner.load(std::memory_order_relaxed) == self) {
    ++native_->depth;
  } else {
    native_->owner.store(self, std::memory_order_relaxed);
    native_->depth = 1;
  }
  return 0;
}

int RecursiveMutex::Release() {
  if (native_->owner.load(std::memory_order_relaxed) != ::gettid()) return EPERM;
  if (--native_->depth == 0) native_->owner.store(0, std::memory_order_relaxed);
  const int result = ::pthread_mutex_unlock(&native_->mutex);
  if (result != 0 && native_->depth++ == 0) native_->owner.store(::gettid(), std::memory_order_relaxed);
  return result;
}

}  // namespace platform
