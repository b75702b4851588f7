#pragma once
// The packet-data connection the main dialog keeps up for the requests: maps
// the server's address to a network, tests for a path, asks for a connection
// synchronously and reacts to the status the connection manager reports.

#include <array>
#include <cstdint>

#include "platform/device/connection_manager.h"
#include "platform/text.h"

namespace brantel {

inline constexpr uint32_t kConnectionTestLatencyMs = 4000;
inline constexpr uint32_t kConnectionTestWaitMs = 400;
inline constexpr uint32_t kConnectionEstablishWaitMs = 40000;
inline constexpr size_t kConnectionDetailsBytes = 1288;

class DataConnection {
 public:
  DataConnection() = default;
  virtual ~DataConnection();
  DataConnection(const DataConnection&) = delete;
  DataConnection& operator=(const DataConnection&) = delete;

  // Keeps a copy of `url` and maps it to the destination network.
  int32_t MapDestination(WideView url);
  // Test-only request for a path to `url`: true when the status is connected
  // or "disabled" (a path exists); the request is released in every case.
  bool TestConnection(WideView url, int flag);
  // Asks for a connection to `url` and waits for it (40 s at most), then
  // raises the status events. True when a connection handle is held.
  bool Establish(WideView url, int flag);
  // Releases a held connection with the release value.
  void Release();

  bool connected() const { return handle_ != 0; }
  uint32_t status() const { return status_; }
  int32_t release_value() const { return release_value_; }
  bool has_details() const { return has_details_; }
  const WideText& destination_url() const { return url_; }

  // Status events, in the order the device defines them. The ones that are
  // not overridden do nothing and answer 0; OnDisconnected answers the
  // generic failure code.
  virtual int32_t OnStatus(uint32_t status);
  virtual int32_t OnConnectedOk() { return 0; }
  virtual int32_t OnFailure(uint32_t status);
  virtual int32_t OnConnected();
  virtual int32_t OnDisconnected() { return kConnectionFailed; }
  virtual int32_t OnWaiting() { return 0; }
  virtual int32_t OnRelease() { return 0; }

 private:
  ConnectionRequestInfo Request(uint32_t params, int flag, bool test_only) const;
  void QueryDetails(ConnectionHandle handle);

  WideText url_;
  NetworkId destination_{};
  ConnectionHandle handle_ = 0;
  int32_t release_value_ = 0;
  uint32_t status_ = kConnectionStatusUnknown;
  bool has_details_ = false;
  std::array<uint8_t, kConnectionDetailsBytes> details_{};
  std::array<uint8_t, 64> detail_area_a_{};
  std::array<uint8_t, 64> detail_area_b_{};
};

}  // namespace brantel
