#include "platform/device/network_state.h"

#include "platform/dbus/system_bus.h"

namespace brantel {

namespace {

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr const char* kPath = "/org/freedesktop/NetworkManager";

// NetworkManager's NMState values that matter here.
constexpr uint32_t kStateUnknown = 0;
constexpr uint32_t kStateConnectedSite = 60;
// NMConnectivityState: the host is on no network at all.
constexpr uint32_t kConnectivityNone = 1;

}  // namespace

NetworkVerdict AskNetworkManager() {
  SystemBus bus;
  if (!bus.connected()) return NetworkVerdict::kUnknown;
  const auto state = bus.GetUint32Property({kService, kPath, kService, "State"});
  if (!state) return NetworkVerdict::kUnknown;
  // Unknown: NetworkManager does not manage the network, so it cannot say.
  if (*state != kStateUnknown && *state < kStateConnectedSite) return NetworkVerdict::kOffline;
  // Connectivity (full, limited, portal) only narrows "connected"; a server
  // on the local network is reachable without the internet.
  const auto connectivity = bus.GetUint32Property({kService, kPath, kService, "Connectivity"});
  if (connectivity && *connectivity == kConnectivityNone) return NetworkVerdict::kOffline;
  return NetworkVerdict::kConnected;
}

}  // namespace brantel
