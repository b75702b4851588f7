#include "platform/thread/worker_thread.h"

#include <chrono>

namespace brantel {

WorkerThread::~WorkerThread() {
  RequestStop();
  if (!thread_.joinable()) return;
  // Destroyed from its own body (a misuse): the thread cannot join itself.
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
    return;
  }
  thread_.join();
}

bool WorkerThread::Start(Body body) {
  if (!body) return false;
  JoinIfEnded();
  std::lock_guard<std::mutex> lock(mutex_);
  if (thread_.joinable()) return false;
  stop_requested_ = false;
  suspended_ = false;
  running_ = true;
  thread_ = std::thread([this, body = std::move(body)] {
    body(*this);
    std::lock_guard<std::mutex> done(mutex_);
    running_ = false;
    changed_.notify_all();
  });
  return true;
}

bool WorkerThread::StopRequested() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stop_requested_;
}

bool WorkerThread::SleepFor(uint32_t ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_requested_; });
}

void WorkerThread::WaitWhileSuspended() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return stop_requested_ || !suspended_; });
}

void WorkerThread::RequestStop() {
  std::lock_guard<std::mutex> lock(mutex_);
  stop_requested_ = true;
  changed_.notify_all();
}

bool WorkerThread::Stop(uint32_t wait_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  stop_requested_ = true;
  changed_.notify_all();
  if (!thread_.joinable()) return true;
  if (thread_.get_id() == std::this_thread::get_id()) return false;
  if (!changed_.wait_for(lock, std::chrono::milliseconds(wait_ms), [this] { return !running_; })) return false;
  lock.unlock();
  thread_.join();  // the body has returned; only the thread's last steps remain
  return true;
}

void WorkerThread::Suspend() {
  std::lock_guard<std::mutex> lock(mutex_);
  suspended_ = true;
}

void WorkerThread::Resume() {
  std::lock_guard<std::mutex> lock(mutex_);
  suspended_ = false;
  changed_.notify_all();
}

bool WorkerThread::Running() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

void WorkerThread::JoinIfEnded() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_ || !thread_.joinable()) return;
  }
  thread_.join();
}

}  // namespace brantel
