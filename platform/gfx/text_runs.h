#pragma once
// Walking UTF-16 text by code point (surrogate pairs combined; a lone
// surrogate stands for itself, so it draws as a missing glyph).

#include <cstddef>

#include "platform/text.h"

namespace brantel {

// Code point starting at text[i]; `units` gets 1 or 2.
inline char32_t CodePointAt(WideView text, size_t i, size_t* units) {
  const char16_t c = text[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
    const char16_t d = text[i + 1];
    if (d >= 0xDC00 && d <= 0xDFFF) {
      *units = 2;
      return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(d) - 0xDC00);
    }
  }
  *units = 1;
  return c;
}

template <typename F>
void ForEachCodePoint(WideView text, F f) {
  for (size_t i = 0; i < text.size();) {
    size_t units = 1;
    f(CodePointAt(text, i, &units));
    i += units;
  }
}

}  // namespace brantel
