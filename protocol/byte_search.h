#pragma once
// Substring search over byte views through memmem: answers hold thousands of
// '<', '-' and '\r' bytes, on which a first-character search keeps stopping.

#include <cstring>
#include <string_view>

namespace brantel {

inline size_t FindBytes(std::string_view haystack, std::string_view needle, size_t from = 0) {
  if (haystack.empty() || from > haystack.size()) return std::string_view::npos;
  const void* at = memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
  return at ? size_t(static_cast<const char*>(at) - haystack.data()) : std::string_view::npos;
}

}  // namespace brantel
