#include "platform/device/telephony.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/device/device_settings.h"

namespace brantel {

namespace {

std::mutex g_mutex;
std::optional<std::vector<LineDevice>> g_devices;
bool g_available = true;
std::set<LineAppHandle> g_apps;
LineAppHandle g_next_app = 0;

// The table as it is now: the test's table, else the registry's number.
std::vector<LineDevice> CurrentDevices() {
  {
    std::lock_guard lock(g_mutex);
    if (g_devices) return *g_devices;
  }
  auto number = ReadDeviceText("CellularNumber");
  if (!number || number->empty()) return {};
  return {LineDevice{u"Cellular Line", *number, 0, 0, false}};
}

bool AppValid(LineAppHandle app) {
  std::lock_guard lock(g_mutex);
  return g_apps.count(app) != 0;
}

// Fills a capability record with `text`, following the record convention.
int32_t FillRecord(void* record, WideView text, uint32_t asked_size) {
  if (!record) return kLineErrInvalidPointer;
  LineCapsHeader head;
  std::memcpy(&head, record, sizeof head);
  if (head.total_size < sizeof head) return kLineErrStructureTooSmall;
  const uint32_t text_bytes = uint32_t((text.size() + 1) * sizeof(char16_t));
  head.needed_size = std::max<uint32_t>(uint32_t(sizeof head) + text_bytes, asked_size);
  if (head.total_size < head.needed_size) {
    head.used_size = sizeof head;
    head.text_size = 0;
    head.text_offset = 0;
  } else {
    head.used_size = head.needed_size;
    head.text_size = text_bytes;
    head.text_offset = sizeof head;
    auto* out = static_cast<char*>(record) + sizeof head;
    std::memcpy(out, text.data(), text.size() * sizeof(char16_t));
    std::memset(out + text.size() * sizeof(char16_t), 0, sizeof(char16_t));
  }
  std::memcpy(record, &head, sizeof head);
  return kLineOk;
}

}  // namespace

void SetLineDevicesForTesting(std::optional<std::vector<LineDevice>> devices) {
  std::lock_guard lock(g_mutex);
  g_devices = std::move(devices);
}

void SetTelephonyAvailableForTesting(bool available) {
  std::lock_guard lock(g_mutex);
  g_available = available;
}

int32_t LineInitialize(WideView /*app_name*/, LineAppHandle* app, uint32_t* device_count, uint32_t* api_version,
                       uint32_t /*options*/) {
  if (!app || !device_count || !api_version) return kLineErrInvalidPointer;
  *app = 0;
  {
    std::lock_guard lock(g_mutex);
    if (!g_available) return kLineErrOperationUnavailable;
  }
  if (*api_version < kLineApiVersion20) return kLineErrIncompatibleVersion;
  *api_version = kLineApiVersion20;
  *device_count = uint32_t(CurrentDevices().size());
  std::lock_guard lock(g_mutex);
  *app = ++g_next_app;
  g_apps.insert(*app);
  return kLineOk;
}

int32_t LineNegotiateApiVersion(LineAppHandle app, uint32_t device, uint32_t low, uint32_t high, uint32_t* version) {
  if (!AppValid(app)) return kLineErrInvalidAppHandle;
  const auto devices = CurrentDevices();
  if (device >= devices.size()) return kLineErrBadDeviceId;
  if (devices[device].negotiation_fails || low > kLineApiVersion20 || high < kLineApiVersion20)
    return kLineErrIncompatibleVersion;
  if (!version) return kLineErrInvalidPointer;
  *version = kLineApiVersion20;
  return kLineOk;
}

int32_t LineGetDevCaps(LineAppHandle app, uint32_t device, uint32_t version, void* record) {
  if (!AppValid(app)) return kLineErrInvalidAppHandle;
  const auto devices = CurrentDevices();
  if (device >= devices.size()) return kLineErrBadDeviceId;
  if (version != kLineApiVersion20) return kLineErrIncompatibleVersion;
  return FillRecord(record, devices[device].name, devices[device].device_caps_size);
}

int32_t LineGetAddressCaps(LineAppHandle app, uint32_t device, uint32_t address, uint32_t version, void* record) {
  if (!AppValid(app)) return kLineErrInvalidAppHandle;
  const auto devices = CurrentDevices();
  if (device >= devices.size()) return kLineErrBadDeviceId;
  if (address != 0) return kLineErrInvalidAddressId;
  if (version != kLineApiVersion20) return kLineErrIncompatibleVersion;
  const LineDevice& d = devices[device];
  if (d.number.empty()) {
    // No number: the record carries an empty address (size 0).
    if (!record) return kLineErrInvalidPointer;
    LineCapsHeader head;
    std::memcpy(&head, record, sizeof head);
    if (head.total_size < sizeof head) return kLineErrStructureTooSmall;
    head.needed_size = std::max<uint32_t>(sizeof head, d.address_caps_size);
    head.used_size = std::min(head.total_size, head.needed_size);
    head.text_size = 0;
    head.text_offset = 0;
    std::memcpy(record, &head, sizeof head);
    return kLineOk;
  }
  return FillRecord(record, d.number, d.address_caps_size);
}

int32_t LineShutdown(LineAppHandle app) {
  std::lock_guard lock(g_mutex);
  return g_apps.erase(app) ? kLineOk : kLineErrInvalidAppHandle;
}

}  // namespace brantel
