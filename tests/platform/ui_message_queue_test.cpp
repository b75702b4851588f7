// The message queue: posting, sending across threads, timers, paint
// coalescing, quit, and messages to windows that are gone.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ui/message_queue.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::RecordingWindow;

TEST(MessageQueue, PostedMessagesComeInOrderAndPeekCanLeaveThem) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  PostMessage(w.hwnd(), WM_APP + 1, 1, 2);
  PostMessage(w.hwnd(), WM_APP + 2, 3, 4);
  Message m;
  ASSERT_TRUE(PeekMessage(&m, 0, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_APP + 1u);
  // A range filter skips the first one.
  ASSERT_TRUE(PeekMessage(&m, 0, WM_APP + 2, WM_APP + 2, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(m.lParam, 4);
  ASSERT_TRUE(PeekMessage(&m, w.hwnd(), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_APP + 1u);
  EXPECT_FALSE(PeekMessage(&m, 0, 0, 0, PM_REMOVE));
  // Thread messages (hwnd 0) are not dispatched anywhere but can be read.
  PostMessage(0, WM_APP + 3, 0, 0);
  ASSERT_TRUE(PeekMessage(&m, HWND(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_APP + 3u);
}

TEST(MessageQueue, MessagesToGoneWindowsAreDropped) {
  auto w = std::make_unique<RecordingWindow>();
  ASSERT_TRUE(w->CreateTop(Rect{0, 0, 10, 10}, u"", false));
  HWND h = w->hwnd();
  EXPECT_TRUE(PostMessage(h, WM_APP, 0, 0));  // queued while alive
  w->Destroy();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(PostMessage(h, WM_APP, 0, 0));
  EXPECT_EQ(SendMessage(h, WM_APP, 0, 0), 0);
  w.reset();
  Drain();  // the queued one finds no window and is dropped
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(SendMessage(h, WM_GETTEXTLENGTH, 0, 0), 0);
  // A handle of this process that never existed is no window either.
  EXPECT_FALSE(IsWindow(h + 1000));
}

TEST(MessageQueue, HandlerThatDestroysAndDeletesItsWindowIsSafe) {
  struct SelfDeleting : RecordingWindow {
    bool* deleted;
    void OnFinalDestroy() override {
      *deleted = true;
      delete this;
    }
  };
  bool deleted = false;
  auto* w = new SelfDeleting;
  w->deleted = &deleted;
  ASSERT_TRUE(w->CreateTop(Rect{0, 0, 10, 10}));
  w->on[WM_APP] = [w](WPARAM, LPARAM) {
    w->Destroy();
    return LRESULT(7);
  };
  HWND h = w->hwnd();
  PostMessage(h, WM_APP, 0, 0);
  PostMessage(h, WM_APP, 0, 0);  // arrives after the window is gone
  Drain();
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(IsWindow(h));
}

TEST(MessageQueue, SendAcrossThreadsRunsOnTheWindowsThreadAndWaits) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  ThreadId ui = GetCurrentThreadId();
  ThreadId ran_on = 0;
  w.on[WM_APP] = [&](WPARAM wp, LPARAM) {
    ran_on = GetCurrentThreadId();
    return LRESULT(wp * 2);
  };
  w.on[WM_APP + 1] = [&](WPARAM, LPARAM) {
    PostQuitMessage(5);
    return LRESULT(0);
  };
  LRESULT answer = 0;
  std::thread worker([&] {
    answer = SendMessage(w.hwnd(), WM_APP, 21, 0);
    PostMessage(w.hwnd(), WM_APP + 1, 0, 0);
  });
  EXPECT_EQ(RunMessageLoop(), 5);
  worker.join();
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(ran_on, ui);
}

TEST(MessageQueue, SendsBackAndForthBetweenThreadsDoNotDeadlock) {
  // The UI thread sends to a window of a worker, whose handler sends back to
  // the UI window while the UI thread is still waiting for its answer.
  RecordingWindow ui_window;
  ASSERT_TRUE(ui_window.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  ui_window.on[WM_APP] = [](WPARAM wp, LPARAM) { return LRESULT(wp + 1); };

  std::atomic<HWND> worker_hwnd{0};
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    RecordingWindow w;
    w.CreateTop(Rect{0, 0, 10, 10}, u"", false);
    w.on[WM_APP] = [&](WPARAM wp, LPARAM) { return SendMessage(ui_window.hwnd(), WM_APP, wp * 10, 0) + 1; };
    worker_hwnd = w.hwnd();
    Message m;
    while (!stop) {
      if (PeekMessage(&m, 0, 0, 0, PM_REMOVE)) DispatchMessage(&m);
      else WaitMessage(20);
    }
  });
  while (!worker_hwnd) std::this_thread::yield();
  EXPECT_EQ(SendMessage(worker_hwnd, WM_APP, 3, 0), 32);
  stop = true;
  worker.join();
  // The worker's window died with its thread's object; sending now gives 0.
  EXPECT_EQ(SendMessage(worker_hwnd, WM_APP, 3, 0), 0);
}

TEST(MessageQueue, SendToAThreadThatEndsWithoutAnsweringReturnsZero) {
  std::atomic<HWND> h{0};
  std::atomic<bool> go{false};
  std::thread owner([&] {
    RecordingWindow w;
    w.CreateTop(Rect{0, 0, 10, 10}, u"", false);
    w.on[WM_APP] = [](WPARAM, LPARAM) { return LRESULT(9); };
    h = w.hwnd();
    while (!go) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    // Ends without pumping; the thread's queue answers pending sends with 0.
    w.Destroy();
  });
  while (!h) std::this_thread::yield();
  go = true;
  LRESULT r = 1;
  EXPECT_FALSE(SendMessageTimeout(h, WM_APP, 0, 0, 5000, &r) && r == 9);
  owner.join();
}

TEST(MessageQueue, SendMessageTimeoutGivesUp) {
  std::atomic<HWND> h{0};
  std::atomic<bool> done{false};
  std::thread owner([&] {
    RecordingWindow w;
    w.CreateTop(Rect{0, 0, 10, 10}, u"", false);
    h = w.hwnd();
    while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(5));  // never pumps
  });
  while (!h) std::this_thread::yield();
  LRESULT r = 0;
  EXPECT_FALSE(SendMessageTimeout(h, WM_APP, 0, 0, 50, &r));
  done = true;
  owner.join();
}

TEST(MessageQueue, TimersCoalesceAndMayBeSetAndKilledInsideHandlers) {
  ManualClockScope clock;
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  int ticks_a = 0, ticks_b = 0;
  w.on[WM_TIMER] = [&](WPARAM id, LPARAM) {
    if (id == 1) {
      ++ticks_a;
      if (ticks_a == 2) {
        w.KillTimer(1);       // kill itself inside its own tick
        w.SetTimer(2, 50);    // and start another
      }
    } else if (id == 2) {
      ++ticks_b;
      w.SetTimer(2, 50);      // restarting inside the handler is fine
    }
    return LRESULT(0);
  };
  w.SetTimer(1, 100);
  Drain();
  EXPECT_EQ(ticks_a, 0);
  AdvanceClock(99);
  Drain();
  EXPECT_EQ(ticks_a, 0);
  AdvanceClock(1000);  // ten periods late: still one WM_TIMER
  Drain();
  EXPECT_EQ(ticks_a, 1);
  AdvanceClock(100);
  Drain();
  EXPECT_EQ(ticks_a, 2);
  AdvanceClock(1000);
  Drain();
  EXPECT_EQ(ticks_a, 2);
  EXPECT_EQ(ticks_b, 1);
  AdvanceClock(50);
  Drain();
  EXPECT_EQ(ticks_b, 2);
}

TEST(MessageQueue, TimersDieWithTheirWindow) {
  ManualClockScope clock;
  auto w = std::make_unique<RecordingWindow>();
  ASSERT_TRUE(w->CreateTop(Rect{0, 0, 10, 10}, u"", false));
  HWND h = w->hwnd();
  w->SetTimer(7, 10);
  w->Destroy();
  EXPECT_FALSE(KillTimer(h, 7));
  AdvanceClock(100);
  Message m;
  EXPECT_FALSE(PeekMessage(&m, 0, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(SetTimer(h, 7, 10), 0u);
}

TEST(MessageQueue, TimerWakesABlockedGetMessageOnTheRealClock) {
  uintptr_t id = SetTimer(0, 0, 20);
  ASSERT_NE(id, 0u);
  Message m;
  uint32_t start = GetTickCount();
  ASSERT_TRUE(GetMessage(&m, 0, 0, 0));
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(m.wParam, id);
  EXPECT_GE(GetTickCount() - start, 19u);
  EXPECT_TRUE(KillTimer(0, id));
}

TEST(MessageQueue, PaintIsCoalescedAndComesWhenTheQueueIsEmpty) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 100, 100}));
  Drain();
  w.log.clear();
  w.Invalidate();
  Rect r{10, 10, 20, 20};
  w.Invalidate(&r);
  EXPECT_FALSE(IsQueueIdle());  // a paint is due
  PostMessage(w.hwnd(), WM_APP, 0, 0);
  PostMessage(w.hwnd(), WM_APP + 1, 0, 0);
  EXPECT_FALSE(IsQueueIdle());
  Drain();
  EXPECT_TRUE(IsQueueIdle());
  EXPECT_EQ(w.Messages(), (std::vector<uint32_t>{WM_APP, WM_APP + 1, WM_PAINT}));
  EXPECT_FALSE(w.HasUpdate());  // the default handler validated
}

TEST(MessageQueue, PaintHandlerThatDoesNotValidateIsNotCalledForEver) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 100, 100}));
  w.on[WM_PAINT] = [](WPARAM, LPARAM) { return LRESULT(0); };  // forgets to validate
  Drain();
  EXPECT_EQ(w.Count(WM_PAINT), 1);
}

TEST(MessageQueue, InvalidationFromAnotherThreadWakesTheLoop) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 100, 100}));
  Drain();
  w.log.clear();
  w.on[WM_PAINT] = [&](WPARAM, LPARAM) {
    w.Validate();
    PostQuitMessage(0);
    return LRESULT(0);
  };
  std::thread animator([h = w.hwnd()] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    InvalidateRect(h, nullptr);
  });
  EXPECT_EQ(RunMessageLoop(), 0);
  animator.join();
  EXPECT_EQ(w.Count(WM_PAINT), 1);
}

TEST(MessageQueue, QuitComesAfterWhatWasPostedBeforeIt) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  PostMessage(w.hwnd(), WM_APP, 0, 0);
  PostQuitMessage(3);
  Message m;
  ASSERT_TRUE(GetMessage(&m, 0, 0, 0));
  EXPECT_EQ(m.message, WM_APP);
  EXPECT_FALSE(GetMessage(&m, 0, 0, 0));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
}

TEST(MessageQueue, PumpReturnsDespiteAFastTimer) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  w.on[WM_TIMER] = [](WPARAM, LPARAM) {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    return LRESULT(0);
  };
  w.SetTimer(1, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(PumpPendingMessages());
  EXPECT_GE(w.Count(WM_TIMER), 1);
  EXPECT_LE(w.Count(WM_TIMER), 2);
  w.KillTimer(1);
  PostQuitMessage(1);
  EXPECT_FALSE(PumpPendingMessages());
  Message m;
  ASSERT_TRUE(PeekMessage(&m, 0, 0, 0, PM_REMOVE));  // the quit was posted again
  EXPECT_EQ(m.message, WM_QUIT);
}

TEST(MessageQueue, PumpUntilAMessageStopsThereAndLeavesTheRest) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  constexpr uint32_t kCancel = 9931;
  w.log.clear();
  PostMessage(w.hwnd(), WM_APP, 0, 0);
  PostMessage(w.hwnd(), kCancel, 0, 0);
  PostMessage(w.hwnd(), WM_APP + 1, 0, 0);
  EXPECT_EQ(PumpPendingMessagesUntil(kCancel), PumpResult::kStopMessage);
  EXPECT_EQ(w.Messages(), (std::vector<uint32_t>{WM_APP}));  // the stop message is not dispatched
  EXPECT_EQ(PumpPendingMessagesUntil(kCancel), PumpResult::kEmpty);
  EXPECT_EQ(w.Count(WM_APP + 1), 1);
  PostQuitMessage(2);
  EXPECT_EQ(PumpPendingMessagesUntil(kCancel), PumpResult::kQuit);
  Message m;
  ASSERT_TRUE(PeekMessage(&m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_QUIT);
}

TEST(MessageQueue, MainWindowCanBeAMessageOnlyStandIn) {
  EXPECT_EQ(GetMainWindow(), 0u);
  int asked = 0;
  {
    MessageOnlyWindow stand_in([&](uint32_t msg, WPARAM, LPARAM) -> LRESULT {
      if (msg == WM_APP + 0xB) ++asked;
      return 0;
    });
    SetMainWindow(stand_in.hwnd());
    EXPECT_EQ(GetMainWindow(), stand_in.hwnd());
    SendMessage(GetMainWindow(), WM_APP + 0xB, 0, 0);
    EXPECT_EQ(asked, 1);
    // Message-only windows are not top-level windows and never paint.
    EXPECT_TRUE(TopLevelWindows().empty());
  }
  EXPECT_EQ(GetMainWindow(), 0u);  // gone with its window
  SetMainWindow(0);
}

TEST(MessageQueue, AFloodOfPostsIsRefusedInsteadOfExhaustingMemory) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  int accepted = 0;
  for (int i = 0; i < 10050; ++i) accepted += PostMessage(w.hwnd(), WM_APP, WPARAM(i), 0) ? 1 : 0;
  EXPECT_EQ(accepted, 10000);
  EXPECT_EQ(Drain(), 10000);
  EXPECT_TRUE(PostMessage(w.hwnd(), WM_APP, 0, 0));  // room again
  Drain();
}

TEST(MessageQueue, GetMessageForAGoneWindowReturnsAtOnce) {
  auto w = std::make_unique<RecordingWindow>();
  ASSERT_TRUE(w->CreateTop(Rect{0, 0, 10, 10}, u"", false));
  HWND h = w->hwnd();
  w.reset();
  Message m;
  m.message = 77;
  EXPECT_FALSE(GetMessage(&m, h, 0, 0));
  EXPECT_EQ(m.message, WM_NULL);
}

TEST(MessageQueue, HandlesCarryTheProcessId) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  EXPECT_EQ(HandleProcessId(w.hwnd()), uint32_t(getpid()));
  EXPECT_TRUE(IsLocalHandle(w.hwnd()));
  HWND foreign = (HWND(uint32_t(getpid()) + 1) << 32) | 5;
  EXPECT_FALSE(IsLocalHandle(foreign));
  EXPECT_FALSE(PostMessage(foreign, WM_APP, 0, 0));  // no route installed
}

}  // namespace
}  // namespace brantel
