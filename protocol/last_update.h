#pragma once
// Last-update stamps: the ServerDate of the last successful answer of each
// data kind, kept under HKEY_LOCAL_MACHINE
// "SOFTWARE\BRANTEL\BrantelStock\LastUpdate" by kind name, plus a
// process-wide copy of the last stamp read or written.

#include <cstdint>

#include "platform/text.h"

namespace brantel {

inline constexpr char16_t kLastUpdateKeyPath[] = u"SOFTWARE\\BRANTEL\\BrantelStock\\LastUpdate";
inline constexpr size_t kMaxStampChars = 255;

// Reads (read true) or writes `value` as the stamp of `kind` (with the
// ranking's `sub_kind`) and returns the process-wide copy afterwards. A kind
// above 8, or an empty value to write, leaves the copy unchanged. Registry
// failures read as empty and write nothing.
WideText LastUpdateStamp(WideView value, int32_t kind, int32_t sub_kind, bool read);

}  // namespace brantel
