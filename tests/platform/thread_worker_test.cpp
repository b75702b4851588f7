// WorkerThread: stopping wakes a sleeping body at once, suspension pauses
// it, one body at a time, and the destructor never leaves it running.

#include "platform/thread/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

namespace brantel {
namespace {

using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

void WaitUntil(const std::function<bool()>& done) {
  const auto start = Clock::now();
  while (!done() && MsSince(start) < 5000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(WorkerThread, StopWakesASleepingBodyAndOnlyOneBodyRuns) {
  WorkerThread worker;
  std::atomic<bool> slept_through{true};
  std::atomic<bool> sleeping{false};
  ASSERT_TRUE(worker.Start([&](WorkerThread& self) {
    sleeping = true;
    slept_through = self.SleepFor(60000);
    // Once stopped, every later sleep returns at once.
    if (self.SleepFor(60000)) slept_through = true;
  }));
  EXPECT_TRUE(worker.Running());
  EXPECT_FALSE(worker.Start([](WorkerThread&) {}));  // the first still runs
  WaitUntil([&] { return sleeping.load(); });

  const auto start = Clock::now();
  EXPECT_TRUE(worker.Stop(1000));
  EXPECT_LT(MsSince(start), 500);
  EXPECT_FALSE(slept_through);
  EXPECT_FALSE(worker.Running());
  EXPECT_TRUE(worker.Stop(0));  // nothing left to stop

  // A new body starts with the stop cleared.
  std::atomic<bool> saw_stop{true};
  ASSERT_TRUE(worker.Start([&](WorkerThread& self) { saw_stop = self.StopRequested(); }));
  WaitUntil([&] { return !worker.Running(); });
  EXPECT_FALSE(saw_stop);
}

TEST(WorkerThread, StopThatTimesOutLeavesTheBodyToFinishAndBlocksANewStart) {
  WorkerThread worker;
  std::atomic<bool> release{false};
  ASSERT_TRUE(worker.Start([&](WorkerThread&) {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));  // ignores stops
  }));
  EXPECT_FALSE(worker.Stop(30));
  EXPECT_TRUE(worker.Running());
  EXPECT_FALSE(worker.Start([](WorkerThread&) {}));
  release = true;
  EXPECT_TRUE(worker.Stop(5000));
  EXPECT_TRUE(worker.Start([](WorkerThread&) {}));
}

TEST(WorkerThread, SuspendPausesResumeContinuesAndStopEndsASuspendedBody) {
  WorkerThread worker;
  std::atomic<int> steps{0};
  ASSERT_TRUE(worker.Start([&](WorkerThread& self) {
    while (!self.StopRequested()) {
      self.WaitWhileSuspended();
      ++steps;
      self.SleepFor(1);
    }
  }));
  WaitUntil([&] { return steps > 3; });
  worker.Suspend();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));  // a step under way finishes
  const int paused_at = steps;
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(steps, paused_at);

  worker.Resume();
  WaitUntil([&] { return steps > paused_at + 3; });
  EXPECT_GT(steps, paused_at + 3);

  worker.Suspend();
  EXPECT_TRUE(worker.Stop(1000));
}

TEST(WorkerThread, DestructorStopsAndJoinsBeforeTheOwnerGoes) {
  auto ended = std::make_shared<std::atomic<bool>>(false);
  {
    WorkerThread worker;
    ASSERT_TRUE(worker.Start([ended](WorkerThread& self) {
      self.SleepFor(60000);
      // Takes longer than any Stop limit: the destructor still waits.
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      *ended = true;
    }));
    worker.Suspend();
  }
  EXPECT_TRUE(*ended);
}

}  // namespace
}  // namespace brantel
