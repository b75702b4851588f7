#pragma once
// Wide text and the handful of text helpers the system needs.
//
// Wide text is UTF-16 code units in std::u16string, as on the device. Narrow
// text in the "device code page" is UTF-8 in std::string; it round-trips every
// wide text (surrogate pairs are combined), so stored bytes read back unchanged.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brantel {

using WideText = std::u16string;
using WideView = std::u16string_view;

// Code-page conversions (proper UTF-8 both ways). Invalid input never fails:
// a bad UTF-8 byte becomes U+FFFD, a lone surrogate becomes EF BF BD.
WideText Widen(std::string_view utf8);
std::string Narrow(WideView wide);

// Wide text as UTF-16LE bytes (the form the registry and UTF-16 files keep),
// and back; a final odd byte is ignored. No terminator is added or removed.
std::string Utf16LeBytes(WideView wide);
WideText WideFromUtf16LeBytes(std::string_view bytes);

// printf-style formatting into wide text. Supported conversions: %s (wide or
// narrow text), %c, %d %i %u %x %X %ld %lu with flags '-', '0', width and
// precision, %f %.Nf %e %g, and %%.
using FormatArg = std::variant<int64_t, uint64_t, double, WideView, std::string_view>;
WideText FormatTextArgs(WideView format, const std::vector<FormatArg>& args);

namespace detail {
inline FormatArg ToFormatArg(const WideText& s) { return WideView(s); }
inline FormatArg ToFormatArg(WideView s) { return s; }
inline FormatArg ToFormatArg(const char16_t* s) { return WideView(s ? s : u""); }
inline FormatArg ToFormatArg(const std::string& s) { return std::string_view(s); }
inline FormatArg ToFormatArg(std::string_view s) { return s; }
inline FormatArg ToFormatArg(const char* s) { return std::string_view(s ? s : ""); }
inline FormatArg ToFormatArg(double v) { return v; }
inline FormatArg ToFormatArg(float v) { return double(v); }
inline FormatArg ToFormatArg(char16_t c) { return int64_t(c); }
inline FormatArg ToFormatArg(char c) { return int64_t(c); }
inline FormatArg ToFormatArg(bool v) { return int64_t(v); }
template <typename T>
  requires std::is_integral_v<T> && std::is_signed_v<T>
FormatArg ToFormatArg(T v) { return int64_t(v); }
template <typename T>
  requires std::is_integral_v<T> && std::is_unsigned_v<T>
FormatArg ToFormatArg(T v) { return uint64_t(v); }
}  // namespace detail

template <typename... Args>
WideText FormatText(WideView format, const Args&... args) {
  return FormatTextArgs(format, {detail::ToFormatArg(args)...});
}

// Leading-number parsing with wcstol/wcstod semantics: leading white space is
// skipped, the longest valid prefix is read, no number reads as 0. `used`
// receives the number of code units consumed (0 when nothing was read).
long ParseLeadingLong(WideView text, int base = 10, size_t* used = nullptr);
double ParseLeadingDouble(WideView text, size_t* used = nullptr);

// Case-insensitive comparison over ASCII and Latin-1 letters.
char16_t FoldCase(char16_t c);
int CompareNoCase(WideView a, WideView b);
bool EqualsNoCase(WideView a, WideView b);
bool StartsWithNoCase(WideView text, WideView prefix);
size_t FindNoCase(WideView text, WideView needle, size_t from = 0);

WideText ReplaceAll(WideView text, WideView from, WideView to);
// Trims spaces, tabs, carriage returns and line feeds at both ends.
WideView Trim(WideView text);
std::vector<WideText> Split(WideView text, WideView separator);

// Narrow (UTF-8 / ASCII) versions used by tools, parsers of files and paths.
std::string_view TrimNarrow(std::string_view text);
bool EqualsNoCaseNarrow(std::string_view a, std::string_view b);

}  // namespace brantel
