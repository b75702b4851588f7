#pragma once
// The wire's own UTF-16 <-> UTF-8 conversions.
//
// These are not the code-page conversions of platform/text.h: every 16-bit
// unit is encoded on its own (a surrogate pair becomes two three-byte
// sequences) and decoding does no validation (a stray continuation byte
// starts a two-byte sequence, a four-byte sequence is read as a three-byte
// one). The information server and the stored answers rely on exactly this.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace brantel {

// Encodes the zero-terminated `text` into `out` (capacity in bytes) and always
// writes a terminating zero byte. Returns the bytes written without the zero.
// No input, no buffer or a zero capacity returns 0. A unit whose bytes would
// not fit before the terminator ends the output.
size_t Utf16ToUtf8(const char16_t* text, char* out, size_t capacity);

// Decodes the zero-terminated byte `text` into `out` (capacity in bytes) and
// always writes a terminating zero unit when there is room for it. Returns the
// bytes written (2 per unit) without the terminator. No input, no buffer or a
// capacity below one unit returns 0.
size_t Utf8ToUtf16(const char* text, char16_t* out, size_t capacity);

// The same rules on views, without a capacity limit. Input ends at its first
// zero unit or byte, as the buffer forms read it.
std::string Utf16ToUtf8(WideView text);
WideText Utf8ToUtf16(std::string_view bytes);

// Appends the decoding of `bytes` (all of them; the caller has cut at any
// zero byte) to `out`. The response reader uses it for every field.
void AppendUtf8ToUtf16(std::string_view bytes, WideText& out);

}  // namespace brantel
