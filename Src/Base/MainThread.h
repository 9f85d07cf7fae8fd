// Reaching the application's main thread without knowing its toolkit. The application
// installs its toolkit's mechanisms at start-up; the media component only calls these.
#pragma once
#include <functional>

// Runs a call on the main thread and waits for it to finish.
using TMainThreadDispatcher = std::function<void(const std::function<void()>& call)>;
void SetMainThreadDispatcher(TMainThreadDispatcher dispatcher);

// Queues a call to run on the main thread the next time it processes its events, and
// returns at once without waiting. The log relay hands its messages to the main thread
// through this, so a thread that logs never waits for the main thread.
using TMainThreadPoster = std::function<void(std::function<void()> call)>;
void SetMainThreadPoster(TMainThreadPoster poster);

// Runs `call` on the main thread and waits for it. On the main thread, or while no
// dispatcher is installed, the call runs directly on the calling thread.
void CallInMainThread(const std::function<void()>& call);

// True on the thread that started the log relay's unit (FFLogUnit).
bool IsMainThread();

namespace fflog {
// Hands `call` to the installed poster; false (and nothing done) when none is installed.
bool PostToMainThread(std::function<void()> call);
void SetMainThreadToCurrent();
}  // namespace fflog
