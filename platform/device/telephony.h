#pragma once
// The device's telephony service: a line application, the line devices with
// their capability records, and the address of each line (the subscriber
// number).
//
// On Linux the line devices come from a table. It is empty by default, so
// the device has no phone number. A user gives the device its number with
//   brantel-reg set HKLM\SOFTWARE\BRANTEL\Device CellularNumber REG_SZ 01012345678
// which makes one line device named "Cellular Line" with that number. Tests
// replace the whole table with SetLineDevicesForTesting.
//
// Capability records follow the device's convention: the caller sets the
// record's total size; the service writes the size it needs and, when the
// record is large enough, the text (line name or address) at an offset
// inside it and the size it used.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/text.h"

namespace brantel {

struct LineDevice {
  WideText name;    // "Cellular Line" for the phone line
  WideText number;  // the address of the line's address 0; empty: no number
  // Bytes the capability records ask for; 0 means just what their text needs.
  uint32_t device_caps_size = 0;
  uint32_t address_caps_size = 0;
  bool negotiation_fails = false;  // the device refuses every interface version
};

// Replaces the table (nullopt: back to the registry's CellularNumber).
void SetLineDevicesForTesting(std::optional<std::vector<LineDevice>> devices);
// When false, the line application cannot be initialised at all.
void SetTelephonyAvailableForTesting(bool available);

// The head of a capability record; the text follows inside the record.
struct LineCapsHeader {
  uint32_t total_size = 0;   // set by the caller: bytes of the whole record
  uint32_t needed_size = 0;  // set by the service
  uint32_t used_size = 0;    // set by the service
  uint32_t text_size = 0;    // bytes of the text, terminator included
  uint32_t text_offset = 0;  // from the start of the record
};

// Result codes (negative values are failures, as on the device).
inline constexpr int32_t kLineOk = 0;
inline constexpr int32_t kLineErrBadDeviceId = int32_t(0x80000002u);
inline constexpr int32_t kLineErrIncompatibleVersion = int32_t(0x8000000Cu);
inline constexpr int32_t kLineErrInvalidAppHandle = int32_t(0x80000015u);
inline constexpr int32_t kLineErrInvalidAddressId = int32_t(0x80000018u);
inline constexpr int32_t kLineErrInvalidPointer = int32_t(0x80000035u);
inline constexpr int32_t kLineErrOperationUnavailable = int32_t(0x80000048u);
inline constexpr int32_t kLineErrStructureTooSmall = int32_t(0x8000004Du);

inline constexpr uint32_t kLineApiVersion20 = 0x20000;
inline constexpr uint32_t kLineInitUseEvent = 2;

using LineAppHandle = uint32_t;  // 0: none

// Starts a line application: `device_count` receives the number of line
// devices, `api_version` goes in as the highest version the caller knows.
int32_t LineInitialize(WideView app_name, LineAppHandle* app, uint32_t* device_count, uint32_t* api_version,
                       uint32_t options);
int32_t LineNegotiateApiVersion(LineAppHandle app, uint32_t device, uint32_t low, uint32_t high, uint32_t* version);
// `record` starts with a LineCapsHeader whose total_size the caller set.
int32_t LineGetDevCaps(LineAppHandle app, uint32_t device, uint32_t version, void* record);
int32_t LineGetAddressCaps(LineAppHandle app, uint32_t device, uint32_t address, uint32_t version, void* record);
int32_t LineShutdown(LineAppHandle app);

}  // namespace brantel
