#include "platform/device/connection_manager.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>

#include "platform/debug.h"
#include "platform/device/device_settings.h"
#include "platform/device/network_state.h"

namespace brantel {

namespace {

// The one network every address maps to.
constexpr NetworkId kInternet = {0x43, 0x6E, 0x6E, 0x65, 0x74, 0x49, 0x6E, 0x74,
                                 0x65, 0x72, 0x6E, 0x65, 0x74, 0x00, 0x00, 0x01};

struct Connection {
  uint32_t status = kConnectionStatusUnknown;
};

std::mutex g_mutex;
std::map<ConnectionHandle, Connection> g_connections;
ConnectionHandle g_next_handle = 0;
std::atomic<uint32_t> g_last_report{0};
std::atomic<int> g_report_count{0};

// The status a request gets now: the registry switches when set, else
// NetworkManager's view. A test-only request finds the live path too, so it
// also reports connected.
uint32_t CurrentStatus() {
  if (auto forced = ReadDeviceDword("ConnectionStatus")) return *forced;
  if (auto available = ReadDeviceDword("DataConnection")) {
    return *available == 0 ? kConnectionStatusNoPath : kConnectionStatusConnected;
  }
  return AskNetworkManager() == NetworkVerdict::kOffline ? kConnectionStatusNoPath : kConnectionStatusConnected;
}

ConnectionHandle Add(uint32_t status) {
  std::lock_guard lock(g_mutex);
  const ConnectionHandle h = ++g_next_handle;
  g_connections[h].status = status;
  return h;
}

}  // namespace

int32_t ConnectionMapUrl(WideView url, NetworkId* destination) {
  if (url.empty() || !destination) return kConnectionBadArgument;
  *destination = kInternet;
  return kConnectionOk;
}

int32_t ConnectionEstablishSync(const ConnectionRequestInfo& request, ConnectionHandle* handle, uint32_t /*timeout_ms*/,
                                uint32_t* status) {
  if (!handle || !status || request.size == 0) return kConnectionBadArgument;
  *handle = 0;
  *status = CurrentStatus();
  if (*status != kConnectionStatusConnected) return kConnectionFailed;
  *handle = Add(*status);
  return kConnectionOk;
}

int32_t ConnectionEstablish(const ConnectionRequestInfo& request, ConnectionHandle* handle) {
  if (!handle || request.size == 0) return kConnectionBadArgument;
  *handle = Add(CurrentStatus());
  return kConnectionOk;
}

bool ConnectionWaitForEvent(ConnectionHandle handle, uint32_t /*timeout_ms*/) {
  std::lock_guard lock(g_mutex);
  return g_connections.count(handle) != 0;  // the status is known at once
}

int32_t ConnectionGetStatus(ConnectionHandle handle, uint32_t* status) {
  std::lock_guard lock(g_mutex);
  auto it = g_connections.find(handle);
  if (it == g_connections.end() || !status) return kConnectionBadArgument;
  *status = it->second.status;
  return kConnectionOk;
}

int32_t ConnectionProviderDetails(ConnectionHandle handle, const NetworkId& /*provider*/, void* block, uint32_t size) {
  std::lock_guard lock(g_mutex);
  auto it = g_connections.find(handle);
  if (it == g_connections.end() || !block || size < 4) return kConnectionBadArgument;
  return it->second.status == kConnectionStatusConnected ? kConnectionOk : kConnectionFailed;
}

int32_t ConnectionRelease(ConnectionHandle handle, int32_t /*release_value*/) {
  std::lock_guard lock(g_mutex);
  return g_connections.erase(handle) ? kConnectionOk : kConnectionBadArgument;
}

void ReportConnectionError(uint32_t status) {
  g_last_report = status;
  g_report_count.fetch_add(1);
  char text[80];
  std::snprintf(text, sizeof text, "connection error report: -CMERROR 0x%x -report\n", unsigned(status));
  DebugOutput(std::string_view(text));
}

uint32_t LastReportedConnectionErrorForTesting() { return g_last_report.load(); }
int ReportedConnectionErrorCountForTesting() { return g_report_count.load(); }

size_t OpenConnectionCountForTesting() {
  std::lock_guard lock(g_mutex);
  return g_connections.size();
}

}  // namespace brantel
