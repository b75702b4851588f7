// The one-shot multimedia timer: fires once, on its own thread, can be
// cancelled before it fires, killed from inside its own callback, and a
// kill from elsewhere waits for a callback that runs.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/ui/message_queue.h"
#include "platform/ui/multimedia_timer.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using namespace std::chrono_literals;

TEST(MultimediaTimer, FiresOnceOnItsOwnThreadAndMayPostToAWindow) {
  testing::RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  std::atomic<int> calls{0};
  std::atomic<bool> own_thread{false};
  const auto ui = std::this_thread::get_id();
  uint32_t id = StartOneShotTimer(1, [&](uint32_t) {
    own_thread = std::this_thread::get_id() != ui;
    ++calls;
    PostMessage(w.hwnd(), WM_APP, 0x1146, 0);
  });
  ASSERT_NE(id, 0u);
  Message m;
  ASSERT_TRUE(GetMessage(&m, 0, WM_APP, WM_APP));
  EXPECT_EQ(m.wParam, 0x1146u);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(own_thread);
  EXPECT_FALSE(KillOneShotTimer(id));  // done
}

TEST(MultimediaTimer, CancelledBeforeItFiresNeverRuns) {
  std::atomic<int> calls{0};
  uint32_t id = StartOneShotTimer(200, [&](uint32_t) { ++calls; });
  EXPECT_TRUE(KillOneShotTimer(id));
  EXPECT_FALSE(KillOneShotTimer(id));
  std::this_thread::sleep_for(250ms);
  EXPECT_EQ(calls, 0);
  EXPECT_FALSE(KillOneShotTimer(987654));
}

TEST(MultimediaTimer, ALongCallbackKillsItsOwnTimerAndDoesNotHoldUpOthers) {
  std::atomic<bool> killed_self{false};
  std::atomic<bool> second_ran{false};
  std::atomic<bool> release{false};
  std::atomic<bool> finished{false};
  uint32_t first = StartOneShotTimer(1, [&](uint32_t id) {
    killed_self = KillOneShotTimer(id);  // the stop-motion step does this, without waiting
    while (!release) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);
    finished = true;
  });
  StartOneShotTimer(5, [&](uint32_t) { second_ran = true; });
  auto end = std::chrono::steady_clock::now() + 2s;
  while (!second_ran && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(second_ran);
  EXPECT_TRUE(killed_self);
  // Killing a running timer from elsewhere waits for its callback, so the
  // callback's owner may go as soon as the kill returns.
  std::thread releaser([&] {
    std::this_thread::sleep_for(30ms);
    release = true;
  });
  EXPECT_TRUE(KillOneShotTimer(first));
  EXPECT_TRUE(finished);
  releaser.join();
  EXPECT_FALSE(KillOneShotTimer(first));
}

struct ProcRecord {
  std::atomic<uintptr_t> user{0};
};
void Proc(uint32_t, uint32_t, uintptr_t user, uintptr_t, uintptr_t) {
  reinterpret_cast<ProcRecord*>(user)->user = user;
}

TEST(MultimediaTimer, DeviceNamedCalls) {
  ProcRecord rec;
  uint32_t id = timeSetEvent(1, 0, Proc, uintptr_t(&rec), TIME_ONESHOT);
  ASSERT_NE(id, 0u);
  auto end = std::chrono::steady_clock::now() + 2s;
  while (!rec.user && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(rec.user, uintptr_t(&rec));
  EXPECT_EQ(timeSetEvent(1, 0, Proc, 0, 1 /* periodic */), 0u);
  EXPECT_EQ(timeKillEvent(123456), MMSYSERR_INVALPARAM);
  uint32_t later = timeSetEvent(1000, 0, Proc, uintptr_t(&rec), TIME_ONESHOT);
  EXPECT_EQ(timeKillEvent(later), TIMERR_NOERROR);
}

}  // namespace
}  // namespace brantel
