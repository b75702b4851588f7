#include "protocol/data_connection.h"

#include <cstring>

namespace brantel {

namespace {

// The provider whose details the connection keeps.
constexpr NetworkId kDetailsProvider = {0xBD, 0xB0, 0x96, 0xAF, 0x81, 0xA4, 0x2C, 0x48,
                                        0xA0, 0x94, 0xA8, 0x44, 0x87, 0x67, 0xA0, 0xC0};

}  // namespace

DataConnection::~DataConnection() { Release(); }

int32_t DataConnection::MapDestination(WideView url) {
  url_ = WideText(url);
  return ConnectionMapUrl(url_, &destination_);
}

ConnectionRequestInfo DataConnection::Request(uint32_t params, int flag, bool test_only) const {
  ConnectionRequestInfo request;
  request.size = 64;
  request.params = params;
  request.flags = flag ? 1 : 0;
  request.priority = kConnectionPriorityUserInteractive;
  request.exclusive = false;
  request.disabled = test_only;
  request.destination = destination_;
  request.max_latency_ms = test_only ? kConnectionTestLatencyMs : 0;
  return request;
}

bool DataConnection::TestConnection(WideView url, int flag) {
  MapDestination(url);
  ConnectionHandle handle = 0;
  if (ConnectionEstablish(Request(kConnectionParamDestination | kConnectionParamMaxLatency, flag, true), &handle) !=
      kConnectionOk)
    return false;
  bool ok = false;
  uint32_t status = 0;
  if (ConnectionWaitForEvent(handle, kConnectionTestWaitMs) && ConnectionGetStatus(handle, &status) == kConnectionOk) {
    ok = status == kConnectionStatusConnected || status == kConnectionStatusDisabled;
    if (ok) QueryDetails(handle);
  }
  ConnectionRelease(handle, 0);
  return ok;
}

bool DataConnection::Establish(WideView url, int flag) {
  MapDestination(url);
  ConnectionHandle handle = 0;
  uint32_t status = kConnectionStatusUnknown;
  const int32_t result =
      ConnectionEstablishSync(Request(kConnectionParamDestination, flag, false), &handle, kConnectionEstablishWaitMs,
                              &status);
  if (result != kConnectionOk || handle == 0) {
    if (handle) ConnectionRelease(handle, 0);
    handle_ = 0;
    release_value_ = 0;
    OnFailure(status);
  } else {
    Release();  // at most one handle is held
    handle_ = handle;
    OnConnectedOk();
  }
  status_ = status;
  OnStatus(status);
  return handle_ != 0;
}

int32_t DataConnection::OnStatus(uint32_t status) {
  if (status & kConnectionStatusDisconnected) {
    release_value_ = status == kConnectionStatusDisconnected ? 1 : 0;
    return status == kConnectionStatusDisconnected ? OnDisconnected() : OnFailure(status);
  }
  if (status == kConnectionStatusConnected) return OnConnected();
  if (status & kConnectionStatusWaitingForPath) return OnWaiting();
  return 0;
}

int32_t DataConnection::OnFailure(uint32_t status) {
  ReportConnectionError(status);
  return kConnectionFailed;
}

int32_t DataConnection::OnConnected() {
  if (handle_) QueryDetails(handle_);
  return 0;
}

void DataConnection::QueryDetails(ConnectionHandle handle) {
  details_.fill(0);
  const uint32_t marker = 1;
  std::memcpy(details_.data(), &marker, sizeof marker);
  uint32_t first = 0;
  if (ConnectionProviderDetails(handle, kDetailsProvider, details_.data(), uint32_t(details_.size())) ==
      kConnectionOk) {
    std::memcpy(&first, details_.data(), sizeof first);
    if (first == 1) {
      has_details_ = true;
      detail_area_a_.fill(0);
      detail_area_b_.fill(0);
    }
  }
}

void DataConnection::Release() {
  if (!handle_) return;
  OnRelease();
  if (ConnectionRelease(handle_, release_value_) == kConnectionOk) handle_ = 0;
}

}  // namespace brantel
