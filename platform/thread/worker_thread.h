#pragma once
// A thread owned by one object: the animation threads of the controls and
// dialogs, and the background cache saves of the screens.
//
// The body runs once on its own thread and gets the WorkerThread to ask
// whether it is to stop (StopRequested), to wait (SleepFor, which returns at
// once when a stop is requested, without polling) and to pause while the
// owner has suspended it (WaitWhileSuspended).
//
// Lifetime: a thread never outlives its owner. The destructor requests a
// stop and joins, waiting as long as the body needs. An owner whose members
// the body uses must therefore stop the thread in its own destructor, before
// those members go (a window deleted without WM_DESTROY included): declaring
// the WorkerThread last is not enough once a derived class adds members.
//
// Stop, Start, Suspend and Resume are called by the owner's thread; the
// body's calls come from the worker. Never destroy or Stop a WorkerThread
// from its own body.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace brantel {

class WorkerThread {
 public:
  using Body = std::function<void(WorkerThread&)>;

  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `body` on a new thread. False (and nothing started) while an
  // earlier body still runs: stop it first, so there is only ever one.
  bool Start(Body body);

  // Body side.
  bool StopRequested() const;
  // Waits `ms` milliseconds; false as soon as a stop is requested (at once
  // when one already is), true when the time passed.
  bool SleepFor(uint32_t ms);
  // Returns when the owner resumes the thread or requests a stop.
  void WaitWhileSuspended();

  // Owner side.
  // Asks the body to stop and wakes it from SleepFor or WaitWhileSuspended.
  void RequestStop();
  // Requests a stop and waits at most `wait_ms` for the body to end. True
  // when it ended (or none ran); false leaves it ending on its own, and the
  // destructor or a later Stop collects it.
  bool Stop(uint32_t wait_ms);
  void Suspend();
  void Resume();
  // True from Start until the body has returned.
  bool Running() const;

 private:
  void JoinIfEnded();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_requested_ = false;
  bool suspended_ = false;
  bool running_ = false;
  std::thread thread_;
};

}  // namespace brantel
