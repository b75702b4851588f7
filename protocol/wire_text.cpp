#include "protocol/wire_text.h"

#include <cstring>

namespace brantel {

namespace {

// Bytes of one unit in the wire encoding.
inline size_t EncodedSize(char16_t u) { return u < 0x80 ? 1 : (u < 0x800 ? 2 : 3); }

inline char* EncodeUnit(char16_t u, char* p) {
  if (u < 0x80) {
    *p++ = char(u);
  } else if (u < 0x800) {
    *p++ = char(0xC0 | (u >> 6));
    *p++ = char(0x80 | (u & 0x3F));
  } else {
    *p++ = char(0xE0 | (u >> 12));
    *p++ = char(0x80 | ((u >> 6) & 0x3F));
    *p++ = char(0x80 | (u & 0x3F));
  }
  return p;
}

// Decodes one unit starting at `p` (before `end`). Bytes missing at the end of
// the input read as zero, and the position never passes `end`.
inline char16_t DecodeUnit(const uint8_t*& p, const uint8_t* end) {
  const uint8_t b = *p++;
  if (b < 0x80) return b;
  const uint8_t n1 = p < end ? *p++ : 0;
  if (b < 0xE0) return char16_t(((b & 0x1F) << 6) | (n1 & 0x3F));
  const uint8_t n2 = p < end ? *p++ : 0;
  return char16_t(((b & 0x0F) << 12) | ((n1 & 0x3F) << 6) | (n2 & 0x3F));
}

}  // namespace

size_t Utf16ToUtf8(const char16_t* text, char* out, size_t capacity) {
  if (!out || capacity == 0) return 0;
  if (!text) {
    out[0] = 0;
    return 0;
  }
  size_t used = 0;
  for (const char16_t* s = text; *s; ++s) {
    const size_t n = EncodedSize(*s);
    if (used + n > capacity - 1) break;
    EncodeUnit(*s, out + used);
    used += n;
  }
  out[used] = 0;
  return used;
}

size_t Utf8ToUtf16(const char* text, char16_t* out, size_t capacity) {
  if (!text || !out || capacity < sizeof(char16_t)) return 0;
  const size_t max_units = capacity / sizeof(char16_t) - 1;
  const auto* p = reinterpret_cast<const uint8_t*>(text);
  const auto* end = p + std::strlen(text);
  size_t units = 0;
  while (p < end && units < max_units) out[units++] = DecodeUnit(p, end);
  out[units] = 0;
  return units * sizeof(char16_t);
}

std::string Utf16ToUtf8(WideView text) {
  const size_t zero = text.find(char16_t(0));
  if (zero != WideView::npos) text = text.substr(0, zero);
  size_t total = 0;
  for (char16_t u : text) total += EncodedSize(u);
  std::string out(total, '\0');
  char* p = out.data();
  for (char16_t u : text) p = EncodeUnit(u, p);
  return out;
}

void AppendUtf8ToUtf16(std::string_view bytes, WideText& out) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto* end = p + bytes.size();
  // Most quote fields are ASCII: copy those runs without the decoder.
  const auto* ascii = p;
  while (ascii < end && *ascii < 0x80) ++ascii;
  if (ascii == end) {
    out.append(p, end);
    return;
  }
  out.reserve(out.size() + bytes.size());
  out.append(p, ascii);
  p = ascii;
  while (p < end) out.push_back(DecodeUnit(p, end));
}

WideText Utf8ToUtf16(std::string_view bytes) {
  const size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  WideText out;
  AppendUtf8ToUtf16(bytes, out);
  return out;
}

}  // namespace brantel
