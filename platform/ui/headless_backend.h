#pragma once
// The headless display: an in-memory screen, no window. Input comes from
// scripts or from tests through the input router.

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/ui/display_backend.h"

namespace brantel {

class HeadlessBackend : public DisplayBackend {
 public:
  bool Create(int width, int height) override;
  void Present(const Surface& screen) override;
  void PresentFromAnyThread(const Surface& screen, const Rect& area) override;
  void PumpInput() override {}
  void Wait(uint32_t timeout_ms) override;
  void Wake() override;
  void SetOrientation(int width, int height) override;
  void SetTextInput(bool on) override { text_input_ = on; }
  const char* name() const override { return "headless"; }

  // What was presented last (tests compare it with the composed screen).
  // The reference is for the UI thread when no animation thread presents;
  // PresentedCopy may be taken from any thread at any time.
  const Surface& presented() const { return presented_; }
  Surface PresentedCopy();
  int present_count() const { return present_count_.load(); }
  bool text_input() const { return text_input_; }

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  bool woken_ = false;
  std::mutex present_mu_;
  Surface presented_;
  std::atomic<int> present_count_{0};
  bool text_input_ = false;
};

}  // namespace brantel
