#pragma once
// The device's connection manager: maps an address to a network, asks for a
// data connection (synchronously, or as a test-only request with an event),
// reports the connection's status and releases it.
//
// Each request asks NetworkManager (one short property read on the system
// bus, see network_state.h): offline there, the request fails with the "no
// path to destination" status (0x24); without NetworkManager every request
// reports the connected status at once. Two registry values under
// HKEY_LOCAL_MACHINE "SOFTWARE\BRANTEL\Device" win over NetworkManager when
// set, so every path of the viewer can be tried (with brantel-reg, or by a
// test):
//   DataConnection   (REG_DWORD) 0: there is no data connection; requests
//                    fail with the "no path to destination" status (0x24);
//                    1: there is one, whatever NetworkManager says.
//   ConnectionStatus (REG_DWORD) when present, the status every request
//                    reports (for example 0x20 disconnected, 0x40 waiting).
// The values are read at each request, so a change takes effect at once.

#include <array>
#include <cstdint>

#include "platform/text.h"

namespace brantel {

// Status values as the device reports them.
inline constexpr uint32_t kConnectionStatusUnknown = 0x00;
inline constexpr uint32_t kConnectionStatusConnected = 0x10;
inline constexpr uint32_t kConnectionStatusDisconnected = 0x20;
inline constexpr uint32_t kConnectionStatusFailed = 0x21;
inline constexpr uint32_t kConnectionStatusCanceled = 0x22;
inline constexpr uint32_t kConnectionStatusDisabled = 0x23;  // a path exists (test-only request)
inline constexpr uint32_t kConnectionStatusNoPath = 0x24;
inline constexpr uint32_t kConnectionStatusWaitingForPath = 0x40;

// Result codes of the calls.
inline constexpr int32_t kConnectionOk = 0;
inline constexpr int32_t kConnectionFailed = int32_t(0x80004005u);
inline constexpr int32_t kConnectionBadArgument = int32_t(0x80070057u);

// Request parameter mask bits.
inline constexpr uint32_t kConnectionParamDestination = 0x1;
inline constexpr uint32_t kConnectionParamMaxLatency = 0x8;
inline constexpr uint32_t kConnectionPriorityUserInteractive = 0x8000;

using NetworkId = std::array<uint8_t, 16>;

struct ConnectionRequestInfo {
  uint32_t size = 64;
  uint32_t params = 0;
  uint32_t flags = 0;
  uint32_t priority = kConnectionPriorityUserInteractive;
  bool exclusive = false;
  bool disabled = false;  // test only: find a path, do not connect
  NetworkId destination{};
  uint32_t max_latency_ms = 0;
};

// 0 means no connection.
using ConnectionHandle = uint64_t;

// Maps `url` to the network that reaches it (always the one network here).
int32_t ConnectionMapUrl(WideView url, NetworkId* destination);

// Asks for a connection and waits for it at most `timeout_ms`; `status`
// receives the resulting status. Fails (no handle) when no data connection
// is available.
int32_t ConnectionEstablishSync(const ConnectionRequestInfo& request, ConnectionHandle* handle, uint32_t timeout_ms,
                                uint32_t* status);

// Asks for a connection without waiting; ConnectionWaitForEvent tells when
// its status is known (here: at once). The handle must be released.
int32_t ConnectionEstablish(const ConnectionRequestInfo& request, ConnectionHandle* handle);
bool ConnectionWaitForEvent(ConnectionHandle handle, uint32_t timeout_ms);

int32_t ConnectionGetStatus(ConnectionHandle handle, uint32_t* status);

// Fills a provider's details block of `size` bytes. Nothing in the system
// reads the details; the call succeeds for a connected handle and leaves
// the block as it was.
int32_t ConnectionProviderDetails(ConnectionHandle handle, const NetworkId& provider, void* block, uint32_t size);

int32_t ConnectionRelease(ConnectionHandle handle, int32_t release_value);

// The shell's connection-error report: written to the debug output; the last
// status reported is kept for tests.
void ReportConnectionError(uint32_t status);
uint32_t LastReportedConnectionErrorForTesting();
int ReportedConnectionErrorCountForTesting();

// Handles not yet released (tests check that nothing leaks).
size_t OpenConnectionCountForTesting();

}  // namespace brantel
