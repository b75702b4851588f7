#include "protocol/stored_text.h"

#include <array>

namespace brantel {

WideText QueryStoredText(RegistryKey& key, WideView name) {
  std::array<char16_t, kStoredTextBufferBytes / 2 + 1> buffer{};  // one unit more: always terminated
  if (!key.QueryText(name, buffer.data(), kStoredTextBufferBytes)) return {};
  return WideText(buffer.data());
}

bool SetStoredText(RegistryKey& key, WideView name, WideView text) {
  return key.SetText(name, text.data(), uint32_t(text.size() * 2));
}

}  // namespace brantel
