#include "platform/ui/headless_backend.h"

#include <chrono>

namespace brantel {

bool HeadlessBackend::Create(int width, int height) {
  presented_.Resize(width, height);
  return true;
}

void HeadlessBackend::Present(const Surface& screen) {
  std::lock_guard<std::mutex> lock(present_mu_);
  presented_ = screen;
  ++present_count_;
}

void HeadlessBackend::PresentFromAnyThread(const Surface& screen, const Rect&) { Present(screen); }

Surface HeadlessBackend::PresentedCopy() {
  std::lock_guard<std::mutex> lock(present_mu_);
  return presented_;
}

void HeadlessBackend::Wait(uint32_t timeout_ms) {
  std::unique_lock<std::mutex> lock(mu_);
  if (timeout_ms == 0xFFFFFFFF)
    cv_.wait(lock, [&] { return woken_; });
  else
    cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return woken_; });
  woken_ = false;
}

void HeadlessBackend::Wake() {
  std::lock_guard<std::mutex> lock(mu_);
  woken_ = true;
  cv_.notify_all();
}

void HeadlessBackend::SetOrientation(int width, int height) {
  std::lock_guard<std::mutex> lock(present_mu_);
  presented_.Resize(width, height);
}

}  // namespace brantel
