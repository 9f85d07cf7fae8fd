// A recursive mutex owned by the thread that holds it, for locks that a library hands
// out by slot and may take from any of its threads.
#pragma once
#include <memory>

namespace platform {

class RecursiveMutex {
 public:
  // Returns nullptr with the system's error code in `error` when no mutex can be made.
  static std::unique_ptr<RecursiveMutex> Create(int& error);
  ~RecursiveMutex();
  RecursiveMutex(const RecursiveMutex&) = delete;
  RecursiveMutex& operator=(const RecursiveMutex&) = delete;

  // Waits without time limit. A mutex left locked by a thread that ended is taken over
  // and counts as obtained. 0 on success, else the system's error code.
  int Obtain();
  // 0 on success; a thread that does not own the mutex gets the system's "not permitted"
  // code and the mutex stays as it was.
  int Release();

 private:
  RecursiveMutex() = default;
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace platform
