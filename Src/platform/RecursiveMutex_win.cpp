#include "platform/RecursiveMutex.h"

#include "platform/Win32Support.h"

namespace platform {

// A system mutex object: owned by a thread, taken again by its owner, refused to others
// on release, and handed on ("abandoned") when its owner ends while holding it.
struct RecursiveMutex::Native {
  HANDLE mutex = nullptr;
};

std::unique_ptr<RecursiveMutex> RecursiveMutex::Create(int& error) {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, nullptr);
  if (!mutex) {
    error = win32::LastErrorNumber();
    return nullptr;
  }
  error = 0;
  std::unique_ptr<RecursiveMutex> result(new RecursiveMutex);
  result->native_ = std::make_unique<Native>();
  result->native_->mutex = mutex;
  return result;
}

RecursiveMutex::~RecursiveMutex() { ::CloseHandle(native_->mutex); }

int RecursiveMutex::Obtain() {
  switch (::WaitForSingleObject(native_->mutex, INFINITE)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED: return 0;
    default: return win32::LastErrorNumber();
  }
}

int RecursiveMutex::Release() { return ::ReleaseMutex(native_->mutex) ? 0 : win32::LastErrorNumber(); }

}  // namespace platform
