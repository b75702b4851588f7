#pragma once
// Text values as the viewer stores them in the registry: REG_MULTI_SZ with
// two bytes per character and no terminator, read back through a zero-filled
// 512-byte buffer.

#include "platform/text.h"
#include "protocol/registry_key.h"

namespace brantel {

inline constexpr uint32_t kStoredTextBufferBytes = 512;

// The value's text up to its first zero unit; empty when it does not exist
// or does not fit the buffer.
WideText QueryStoredText(RegistryKey& key, WideView name);
bool SetStoredText(RegistryKey& key, WideView name, WideView text);

}  // namespace brantel
