#include "app/common/request_guard.h"

#include <memory>

#include <gtest/gtest.h>

namespace brantel {
namespace {

TEST(RequestGuardTest, ARequestOnTheStackOutlivesTheScreenThatStartedIt) {
  auto guard = std::make_unique<RequestGuard>();
  RequestGuard::Running running(*guard);
  EXPECT_TRUE(guard->running());
  EXPECT_FALSE(running.screen_gone());
  guard.reset();  // the screen is destroyed while its request pumps
  EXPECT_TRUE(running.screen_gone());
  running.End();  // still safe: the state outlives the guard
}

TEST(RequestGuardTest, RetireTellsWhetherACancelIsNeeded) {
  RequestGuard idle;
  EXPECT_FALSE(idle.Retire());
  RequestGuard busy;
  RequestGuard::Running running(busy);
  EXPECT_TRUE(busy.Retire());
  EXPECT_TRUE(running.screen_gone());
}

TEST(RequestGuardTest, AnExitWaitsForTheRequestAndAnAskIsKeptOnce) {
  RequestGuard guard;
  {
    RequestGuard::Running running(guard);
    EXPECT_FALSE(guard.MayExitNow());
    EXPECT_TRUE(guard.exit_asked());
    guard.AskAgain();
  }
  EXPECT_FALSE(guard.running());
  EXPECT_TRUE(guard.exit_asked());
  EXPECT_TRUE(guard.TakeAgain());
  EXPECT_FALSE(guard.TakeAgain());
  EXPECT_TRUE(guard.MayExitNow());
  EXPECT_FALSE(guard.exit_asked());
}

}  // namespace
}  // namespace brantel
