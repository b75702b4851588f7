#pragma once
// The phone number of the device's cellular line, which every request
// document carries in its Msisdn element. Read once at start-up; empty when
// the device has no telephony service, no cellular line or no number.

#include <cstdint>

#include "platform/text.h"

namespace brantel {

inline constexpr uint32_t kPhoneNumberFailed = 0x80004005u;
inline constexpr uint32_t kPhoneNumberOutOfMemory = 0x8007000Eu;
// At most this many characters of the number are kept.
inline constexpr size_t kPhoneNumberMaxChars = 21;

// Finds the line device named "Cellular Line" and reads the address of its
// address 0. Returns 0 and sets `number`, or a failure code and leaves
// `number` as it was. The number is kept exactly as the service reports it.
uint32_t ReadPhoneNumber(WideText& number);

// The process-wide number the request routines put into their headers.
WideText DevicePhoneNumber();
void SetDevicePhoneNumber(WideText number);

}  // namespace brantel
