// The sleep inhibitor is taken from logind (python3-dbusmock's template on a
// private system bus), seen in logind's list while held and gone after.
#include <systemd/sd-bus.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/device/sleep_inhibitor.h"
#include "private_system_bus.h"

namespace brantel {
namespace {

struct Inhibitor {
  std::string what, who, why, mode;
};

std::vector<Inhibitor> ListInhibitors() {
  std::vector<Inhibitor> list;
  SystemBus bus;
  bus.Call({"org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "ListInhibitors"},
           nullptr,
           [&](sd_bus_message* m) {
             int r = sd_bus_message_enter_container(m, 'a', "(ssssuu)");
             const char *what, *who, *why, *mode;
             uint32_t uid, pid;
             while (r >= 0 && (r = sd_bus_message_read(m, "(ssssuu)", &what, &who, &why, &mode, &uid, &pid)) > 0)
               list.push_back({what, who, why, mode});
             return r;
           },
           std::chrono::seconds(5));
  return list;
}

// The mock drops an inhibitor when it sees the descriptor closed, a moment later.
bool WaitForCount(size_t count) {
  // Generous: a mock's answer can be slow beside a build or another test.
  for (int i = 0; i < 1000; ++i) {
    if (ListInhibitors().size() == count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(SleepInhibitorTest, HeldFromAcquireToRelease) {
  testing::PrivateSystemBus bus;
  ASSERT_TRUE(bus.StartService("logind", "org.freedesktop.login1"));
  {
    SleepInhibitor inhibitor;
    ASSERT_TRUE(inhibitor.Acquire("StockUpdater", "Installing an update"));
    EXPECT_TRUE(inhibitor.Acquire("StockUpdater", "again"));  // held once
    ASSERT_TRUE(WaitForCount(1));
    const Inhibitor held = ListInhibitors()[0];
    EXPECT_EQ(held.what, "sleep");
    EXPECT_EQ(held.who, "StockUpdater");
    EXPECT_EQ(held.why, "Installing an update");
    EXPECT_EQ(held.mode, "block");
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.held());
    EXPECT_TRUE(WaitForCount(0));
    ASSERT_TRUE(inhibitor.Acquire("StockUpdater", "Installing an update"));
    ASSERT_TRUE(WaitForCount(1));
  }
  EXPECT_TRUE(WaitForCount(0));  // released when it goes
}

TEST(SleepInhibitorTest, WithoutLogindTheWorkGoesOn) {
  testing::PrivateSystemBus bus;
  SleepInhibitor inhibitor;
  EXPECT_FALSE(inhibitor.Acquire("StockUpdater", "Installing an update"));
  EXPECT_FALSE(inhibitor.held());
  inhibitor.Release();
}

}  // namespace
}  // namespace brantel
