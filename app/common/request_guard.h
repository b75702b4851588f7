#pragma once
// One network request of a screen at a time. A request pumps the thread's
// messages while it waits, so meanwhile the user may tap again, ask to leave,
// or close the screen, whose window (and object) can be gone by the time the
// request returns. The screen holds a RequestGuard; each request runs inside a
// RequestGuard::Running kept on the stack, which reads the guard's state
// safely even after the screen went:
//
//   if (guard_.running()) return;             // or guard_.AskAgain()
//   RequestGuard::Running running(guard_);
//   const int32_t result = FetchSomething(...);  // pumps messages
//   if (running.screen_gone()) return;        // touch nothing of the screen
//   running.End();
//   ... show the result; if (guard_.exit_asked()) leave now ...
//
// Leaving: MayExitNow() is true when nothing runs; otherwise it remembers the
// wish (exit_asked()) and the screen cancels the request, which ends soon.

#include <memory>

namespace brantel {

class RequestGuard {
 public:
  RequestGuard();
  // Retires the guard: a request still on the stack sees screen_gone().
  ~RequestGuard();
  RequestGuard(const RequestGuard&) = delete;
  RequestGuard& operator=(const RequestGuard&) = delete;

  struct State;

  // Tells whether the screen went, read from its own copy of the state: also
  // around a message box, which pumps messages as a request does.
  class Watch {
   public:
    explicit Watch(const RequestGuard& guard);
    // The screen went (or was torn down) since.
    bool screen_gone() const;

   protected:
    std::shared_ptr<State> state_;
  };

  class Running : public Watch {
   public:
    explicit Running(RequestGuard& guard);
    // Ends the request unless End() did.
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    // The request is over: the screen may start another, or leave.
    void End();
  };

  bool running() const;
  // The screen goes (its window is destroyed): a running request sees
  // screen_gone() when it returns. True when one was running, so the caller
  // posts the cancel.
  bool Retire();
  bool retired() const;

  // A newer ask while a request runs: kept until TakeAgain() reads it.
  void AskAgain();
  bool TakeAgain();

  // "May I leave now": true when no request runs (any earlier wish is
  // dropped); otherwise the wish is kept for the end of the request and the
  // caller cancels it.
  bool MayExitNow();
  bool exit_asked() const;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace brantel
