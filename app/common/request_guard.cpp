#include "app/common/request_guard.h"

namespace brantel {

struct RequestGuard::State {
  bool running = false;
  bool retired = false;
  bool again = false;
  bool exit_asked = false;
};

RequestGuard::RequestGuard() : state_(std::make_shared<State>()) {}

RequestGuard::~RequestGuard() { state_->retired = true; }

RequestGuard::Watch::Watch(const RequestGuard& guard) : state_(guard.state_) {}

bool RequestGuard::Watch::screen_gone() const { return state_->retired; }

RequestGuard::Running::Running(RequestGuard& guard) : Watch(guard) { state_->running = true; }

RequestGuard::Running::~Running() { End(); }

void RequestGuard::Running::End() { state_->running = false; }

bool RequestGuard::running() const { return state_->running; }

bool RequestGuard::Retire() {
  state_->retired = true;
  return state_->running;
}

bool RequestGuard::retired() const { return state_->retired; }

void RequestGuard::AskAgain() { state_->again = true; }

bool RequestGuard::TakeAgain() {
  const bool again = state_->again;
  state_->again = false;
  return again;
}

bool RequestGuard::MayExitNow() {
  state_->exit_asked = state_->running;
  return !state_->running;
}

bool RequestGuard::exit_asked() const { return state_->exit_asked; }

}  // namespace brantel
