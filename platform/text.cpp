#include "platform/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace brantel {

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(WideText& out, uint32_t cp) {
  if (cp < 0x10000) {
    out += char16_t(cp);
  } else {
    cp -= 0x10000;
    out += char16_t(0xD800 + (cp >> 10));
    out += char16_t(0xDC00 + (cp & 0x3FF));
  }
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

}  // namespace

WideText Widen(std::string_view s) {
  WideText out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const auto b = uint8_t(s[i]);
    if (b < 0x80) {
      out += char16_t(b);
      ++i;
      continue;
    }
    int len = 0;
    uint32_t cp = 0;
    if ((b & 0xE0) == 0xC0) { len = 2; cp = b & 0x1F; }
    else if ((b & 0xF0) == 0xE0) { len = 3; cp = b & 0x0F; }
    else if ((b & 0xF8) == 0xF0) { len = 4; cp = b & 0x07; }
    bool ok = len > 0 && i + len <= s.size();
    for (int k = 1; ok && k < len; ++k) {
      const auto c = uint8_t(s[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (c & 0x3F);
    }
    // Reject overlong forms and out-of-range values.
    if (ok && ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))))
      ok = false;
    if (!ok) {
      out += char16_t(0xFFFD);
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += len;
  }
  return out;
}

std::string Narrow(WideView w) {
  std::string out;
  out.reserve(w.size() * 3);
  for (size_t i = 0; i < w.size(); ++i) {
    uint32_t u = w[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (w[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = 0xFFFD;
    }
    AppendUtf8(out, u);
  }
  return out;
}

std::string Utf16LeBytes(WideView wide) {
  std::string out;
  out.reserve(wide.size() * 2);
  for (char16_t c : wide) {
    out.push_back(char(c & 0xFF));
    out.push_back(char(c >> 8));
  }
  return out;
}

WideText WideFromUtf16LeBytes(std::string_view bytes) {
  WideText out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) out.push_back(char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8)));
  return out;
}

WideText FormatTextArgs(WideView fmt, const std::vector<FormatArg>& args) {
  WideText out;
  size_t next = 0;
  auto take = [&]() -> const FormatArg* { return next < args.size() ? &args[next++] : nullptr; };
  for (size_t i = 0; i < fmt.size(); ++i) {
    char16_t c = fmt[i];
    if (c != u'%') {
      out += c;
      continue;
    }
    if (i + 1 >= fmt.size()) break;
    if (fmt[i + 1] == u'%') {
      out += u'%';
      ++i;
      continue;
    }
    // Collect the conversion: flags, width, precision, length, type.
    std::string conversion = "%";
    size_t j = i + 1;
    while (j < fmt.size() && (fmt[j] == u'-' || fmt[j] == u'0' || fmt[j] == u'+' || fmt[j] == u' ' || fmt[j] == u'#'))
      conversion += char(fmt[j++]);
    while (j < fmt.size() && fmt[j] >= u'0' && fmt[j] <= u'9') conversion += char(fmt[j++]);
    if (j < fmt.size() && fmt[j] == u'.') {
      conversion += '.';
      ++j;
      while (j < fmt.size() && fmt[j] >= u'0' && fmt[j] <= u'9') conversion += char(fmt[j++]);
    }
    while (j < fmt.size() && (fmt[j] == u'l' || fmt[j] == u'h' || fmt[j] == u'I' || fmt[j] == u'z')) ++j;
    if (j >= fmt.size()) break;
    const char type = char(fmt[j]);
    i = j;
    const FormatArg* arg = take();
    char buf[512];
    switch (type) {
      case 's':
      case 'S': {
        WideText text;
        if (arg) {
          if (auto* w = std::get_if<WideView>(arg)) text = WideText(*w);
          else if (auto* n = std::get_if<std::string_view>(arg)) text = Widen(*n);
        }
        // Width and precision on text: apply by hand (snprintf would count bytes).
        size_t width = 0, precision = WideText::npos;
        bool left = conversion.find('-') != std::string::npos;
        size_t k = 1;
        while (k < conversion.size() && (conversion[k] == '-' || conversion[k] == '0' || conversion[k] == '+' || conversion[k] == ' ' || conversion[k] == '#')) ++k;
        width = size_t(std::atoi(conversion.c_str() + k));
        if (auto dot = conversion.find('.'); dot != std::string::npos) precision = size_t(std::atoi(conversion.c_str() + dot + 1));
        if (text.size() > precision) text.resize(precision);
        if (text.size() < width) {
          WideText pad(width - text.size(), u' ');
          text = left ? text + pad : pad + text;
        }
        out += text;
        break;
      }
      case 'c': {
        if (arg) {
          if (auto* v = std::get_if<int64_t>(arg)) out += char16_t(*v);
          else if (auto* u = std::get_if<uint64_t>(arg)) out += char16_t(*u);
        }
        break;
      }
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o': {
        long long v = 0;
        if (arg) {
          if (auto* s = std::get_if<int64_t>(arg)) v = *s;
          else if (auto* u = std::get_if<uint64_t>(arg)) v = (long long)*u;
          else if (auto* d = std::get_if<double>(arg)) v = (long long)*d;
        }
        conversion += "ll";
        conversion += type;
        if (type == 'd' || type == 'i') std::snprintf(buf, sizeof buf, conversion.c_str(), v);
        else std::snprintf(buf, sizeof buf, conversion.c_str(), (unsigned long long)v);
        out += Widen(buf);
        break;
      }
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G': {
        double v = 0;
        if (arg) {
          if (auto* d = std::get_if<double>(arg)) v = *d;
          else if (auto* s = std::get_if<int64_t>(arg)) v = double(*s);
          else if (auto* u = std::get_if<uint64_t>(arg)) v = double(*u);
        }
        conversion += type;
        std::snprintf(buf, sizeof buf, conversion.c_str(), v);
        out += Widen(buf);
        break;
      }
      default:
        // Unknown conversion: keep it as written so the fault is visible.
        out += u'%';
        out += fmt[j];
        break;
    }
  }
  return out;
}

long ParseLeadingLong(WideView text, int base, size_t* used) {
  std::string ascii;
  ascii.reserve(text.size());
  for (char16_t c : text) ascii += (c < 0x80 && c != 0) ? char(c) : '\x01';
  char* end = nullptr;
  long v = std::strtol(ascii.c_str(), &end, base);
  if (used) *used = size_t(end - ascii.c_str());
  return v;
}

double ParseLeadingDouble(WideView text, size_t* used) {
  std::string ascii;
  ascii.reserve(text.size());
  for (char16_t c : text) ascii += (c < 0x80 && c != 0) ? char(c) : '\x01';
  char* end = nullptr;
  // strtod accepts "inf"/"nan"/hex forms like wcstod; the system only ever
  // feeds it decimal quote values.
  double v = std::strtod(ascii.c_str(), &end);
  if (used) *used = size_t(end - ascii.c_str());
  return v;
}

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return char16_t(c + 32);
  // Latin-1 capitals À..Þ except × (U+00D7).
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return char16_t(c + 32);
  return c;
}

int CompareNoCase(WideView a, WideView b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(WideView a, WideView b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }

bool StartsWithNoCase(WideView text, WideView prefix) {
  return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

size_t FindNoCase(WideView text, WideView needle, size_t from) {
  if (needle.empty()) return from <= text.size() ? from : WideText::npos;
  for (size_t i = from; i + needle.size() <= text.size(); ++i)
    if (CompareNoCase(text.substr(i, needle.size()), needle) == 0) return i;
  return WideText::npos;
}

namespace {

// Calls `piece` with each part of `text` between the hits of `sep`, in
// order; with an empty `sep` the whole text is the one part.
template <typename Piece>
void ForEachPiece(WideView text, WideView sep, Piece&& piece) {
  size_t pos = 0;
  if (!sep.empty()) {
    for (size_t hit; (hit = text.find(sep, pos)) != WideView::npos; pos = hit + sep.size())
      piece(text.substr(pos, hit - pos));
  }
  piece(text.substr(pos));
}

}  // namespace

WideText ReplaceAll(WideView text, WideView from, WideView to) {
  WideText out;
  bool first = true;
  ForEachPiece(text, from, [&](WideView piece) {
    if (!first) out.append(to);
    out.append(piece);
    first = false;
  });
  return out;
}

WideView Trim(WideView text) {
  size_t b = 0, e = text.size();
  while (b < e && IsSpace(text[b])) ++b;
  while (e > b && IsSpace(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::vector<WideText> Split(WideView text, WideView sep) {
  std::vector<WideText> parts;
  ForEachPiece(text, sep, [&](WideView piece) { parts.emplace_back(piece); });
  return parts;
}

std::string_view TrimNarrow(std::string_view text) {
  size_t b = 0, e = text.size();
  auto sp = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  while (b < e && sp(text[b])) ++b;
  while (e > b && sp(text[e - 1])) --e;
  return text.substr(b, e - b);
}

bool EqualsNoCaseNarrow(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x + 32);
    if (y >= 'A' && y <= 'Z') y = char(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace brantel
