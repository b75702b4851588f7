// The real viewer with NetworkManager on a private system bus: offline at
// the start it asks message 111; NetworkManager comes back while the
// question is up, "Yes" (Enter) goes on and the master request is not asked
// about again; online from the start, no question at all.
#include <systemd/sd-bus.h>

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "private_system_bus.h"
#include "tests/support/viewer_process.h"

namespace brantel {
namespace {

using testing::QuoteServerProcess;
using testing::ViewerProcess;

constexpr const char* kNetworkManager = "org.freedesktop.NetworkManager";

void SetNetworkState(uint32_t state) {
  SystemBus bus;
  ASSERT_TRUE(bus.Call({kNetworkManager, "/org/freedesktop/NetworkManager", "org.freedesktop.DBus.Mock",
                        "SetGlobalConnectionState"},
                       [&](sd_bus_message* m) { return sd_bus_message_append(m, "u", state); }, nullptr,
                       std::chrono::seconds(5)))
      << bus.last_error();
}

// A modal box over the main dialog (at the start, with the server up and
// nothing else amiss, the box is message 111).
bool Shows111(const std::string& dump) {
  return dump.find("Brantel_Stock_Class id=0 (0,52)-(480,800) hidden disabled") != std::string::npos &&
         dump.find("\nDialog id=0 (0,52)-(480,800) visible active") != std::string::npos;
}
bool MyPageShown(const std::string& dump) {
  return dump.find("  CMyPageDlg id=104 (0,88)-(480,748) visible") != std::string::npos;
}

TEST(ViewerNetworkManager, OfflineAsks111AndGoesOnWhenBackOnline) {
  QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  testing::PrivateSystemBus bus;  // the viewer inherits its address
  ASSERT_TRUE(bus.StartService("networkmanager", kNetworkManager));
  SetNetworkState(20);  // disconnected

  ViewerProcess viewer;
  viewer.PointAt(server.port());
  viewer.SetScript("wait 1500\nidle\n" + viewer.DumpStep() + "wait 2000\nkey enter\nwait 2500\nidle\n" +
                   viewer.DumpStep() + "quit\n");
  ASSERT_TRUE(viewer.Start());
  for (int i = 0; i < 1000 && viewer.Dumps().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  SetNetworkState(70);  // back while the question is up
  const auto run = viewer.Wait(20000);
  ASSERT_FALSE(run.timed_out) << viewer.Log();
  const auto dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 2u) << viewer.Log();
  EXPECT_TRUE(Shows111(dumps[0])) << dumps[0];
  EXPECT_FALSE(Shows111(dumps[1])) << dumps[1];
  EXPECT_TRUE(MyPageShown(dumps[1])) << dumps[1];

  // Online from the start: no question.
  viewer.SetScript("wait 2500\nidle\n" + viewer.DumpStep() + "quit\n");
  ASSERT_FALSE(viewer.Run(20000).timed_out);
  EXPECT_FALSE(Shows111(viewer.Dumps().back()));
}

}  // namespace
}  // namespace brantel
