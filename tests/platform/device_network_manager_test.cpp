// The connection manager asks NetworkManager on a private system bus
// (python3-dbusmock's template): online, offline, a change while running,
// no NetworkManager at all, and the registry switch that still wins.
#include <systemd/sd-bus.h>

#include <chrono>

#include <gtest/gtest.h>

#include "platform/device/connection_manager.h"
#include "platform/device/network_state.h"
#include "platform/registry/registry_store.h"
#include "private_system_bus.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

constexpr const char* kNetworkManager = "org.freedesktop.NetworkManager";
constexpr const char* kManagerPath = "/org/freedesktop/NetworkManager";
constexpr uint32_t kStateDisconnected = 20;
constexpr uint32_t kStateConnectedLocal = 50;
constexpr uint32_t kStateConnectedSite = 60;
constexpr uint32_t kStateConnectedGlobal = 70;
constexpr uint32_t kConnectivityNone = 1;
constexpr uint32_t kConnectivityLimited = 3;

// The status a synchronous request gets now (the handle is released).
uint32_t RequestStatus() {
  ConnectionHandle handle = 0;
  uint32_t status = 0;
  ConnectionEstablishSync(ConnectionRequestInfo{}, &handle, 40000, &status);
  if (handle) ConnectionRelease(handle, 0);
  return status;
}

class NetworkManagerTest : public ::testing::Test {
 protected:
  // Calls one of the mock's own methods (org.freedesktop.DBus.Mock) with a number.
  void Mock(const char* method, uint32_t value) {
    SystemBus bus;
    ASSERT_TRUE(bus.Call({kNetworkManager, kManagerPath, "org.freedesktop.DBus.Mock", method},
                         [&](sd_bus_message* m) { return sd_bus_message_append(m, "u", value); }, nullptr,
                         std::chrono::seconds(5)))
        << bus.last_error();
  }
  void SetSwitch(const char* name, uint32_t value) {
    auto store = RegistryStore::Shared();
    RegKeyId key = 0;
    ASSERT_EQ(store->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\Device", &key), ERROR_SUCCESS);
    ASSERT_EQ(store->SetValue(key, name, REG_DWORD, std::string(reinterpret_cast<char*>(&value), 4)), ERROR_SUCCESS);
  }
  testing::TempDataFolder folder_;
  testing::PrivateSystemBus bus_;
};

TEST_F(NetworkManagerTest, OnlineOfflineAndBackWhileRunning) {
  ASSERT_TRUE(bus_.StartService("networkmanager", kNetworkManager));
  EXPECT_EQ(AskNetworkManager(), NetworkVerdict::kConnected);
  EXPECT_EQ(RequestStatus(), kConnectionStatusConnected);

  Mock("SetGlobalConnectionState", kStateDisconnected);
  EXPECT_EQ(RequestStatus(), kConnectionStatusNoPath);
  Mock("SetGlobalConnectionState", kStateConnectedLocal);  // below connected-site
  EXPECT_EQ(RequestStatus(), kConnectionStatusNoPath);
  Mock("SetGlobalConnectionState", kStateConnectedSite);  // a server on the local network is reachable
  Mock("SetConnectivity", kConnectivityLimited);
  EXPECT_EQ(RequestStatus(), kConnectionStatusConnected);
  Mock("SetConnectivity", kConnectivityNone);
  EXPECT_EQ(RequestStatus(), kConnectionStatusNoPath);
  Mock("SetGlobalConnectionState", kStateConnectedGlobal);
  Mock("SetConnectivity", 4);
  EXPECT_EQ(RequestStatus(), kConnectionStatusConnected);
  EXPECT_EQ(OpenConnectionCountForTesting(), 0u);
}

TEST_F(NetworkManagerTest, RegistrySwitchWinsOverNetworkManager) {
  ASSERT_TRUE(bus_.StartService("networkmanager", kNetworkManager));
  Mock("SetGlobalConnectionState", kStateDisconnected);
  EXPECT_EQ(RequestStatus(), kConnectionStatusNoPath);
  SetSwitch("DataConnection", 1);
  EXPECT_EQ(RequestStatus(), kConnectionStatusConnected);
  SetSwitch("DataConnection", 0);
  Mock("SetGlobalConnectionState", kStateConnectedGlobal);
  EXPECT_EQ(RequestStatus(), kConnectionStatusNoPath);
}

TEST_F(NetworkManagerTest, NoNetworkManagerOrNoBusMeansConnectedAndIsQuick) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(AskNetworkManager(), NetworkVerdict::kUnknown);
  EXPECT_EQ(RequestStatus(), kConnectionStatusConnected);
  setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/brantel-test-bus", 1);
  EXPECT_EQ(RequestStatus(), kConnectionStatusConnected);
  setenv("DBUS_SYSTEM_BUS_ADDRESS", bus_.address().c_str(), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace brantel
