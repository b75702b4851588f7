#include "platform/registry/reg_file_parser.h"

#include <cstdint>
#include <optional>

#include "platform/text.h"

namespace brantel {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

// The script as UTF-8, whatever encoding it came in.
std::string DecodeScript(std::string_view bytes) {
  auto utf16 = [&](bool little_endian) {
    WideText w;
    w.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto lo = uint8_t(bytes[little_endian ? i : i + 1]), hi = uint8_t(bytes[little_endian ? i + 1 : i]);
      w.push_back(char16_t(lo | (hi << 8)));
    }
    return Narrow(w);
  };
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) return utf16(true);
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF) return utf16(false);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return std::string(bytes);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<uint32_t> ParseHexNumber(std::string_view s, size_t max_digits) {
  if (s.empty() || s.size() > max_digits) return std::nullopt;
  uint32_t n = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    n = (n << 4) | uint32_t(d);
  }
  return n;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCaseNarrow(s.substr(0, prefix.size()), prefix);
}

// True when the line goes on in the next one: it ends in a backslash that
// is not inside a quoted string. Key lines and comments never continue.
bool ContinuesOnNextLine(std::string_view line) {
  if (line.empty() || line.back() != '\\' || line.front() == '[' || line.front() == ';') return false;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (quoted && line[i] == '\\') {
      ++i;
      if (i == line.size()) return false;  // the backslash escapes nothing: inside the string
    } else if (line[i] == '"') {
      quoted = !quoted;
    }
  }
  return !quoted;
}

// Reads a quoted text starting at s[i] == '"'; i ends behind the closing quote.
bool ReadQuoted(std::string_view s, size_t& i, std::string* out, std::string* error) {
  ++i;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      out->push_back(s[i + 1]);
      i += 2;
      continue;
    }
    if (c == '"') {
      ++i;
      return true;
    }
    if (c == '\0') {
      *error = "a name or text must not hold a zero character";
      return false;
    }
    out->push_back(c);
    ++i;
  }
  *error = "text without its closing quote";
  return false;
}

bool ReadHexBytes(std::string_view list, std::string* out, std::string* error) {
  list = TrimBlanks(list);
  size_t start = 0;
  while (start < list.size()) {
    size_t comma = list.find(',', start);
    const bool last = comma == std::string_view::npos;
    if (last) comma = list.size();
    const std::string_view token = TrimBlanks(list.substr(start, comma - start));
    if (token.empty()) {  // a single trailing comma ends the loop before this
      *error = "empty byte in a hex list";
      return false;
    }
    auto byte = ParseHexNumber(token, 2);
    if (!byte) {
      *error = "bad byte '" + std::string(token.substr(0, 16)) + "' in a hex list";
      return false;
    }
    if (out->size() >= kMaxRegValueBytes) {
      *error = "value larger than the registry allows";
      return false;
    }
    out->push_back(char(*byte));
    start = comma + 1;
  }
  return true;
}

// Turns UTF-8 text into the UTF-16LE bytes of a REG_SZ with its terminator.
std::string TextValueBytes(std::string_view utf8) {
  std::string out = Utf16LeBytes(Widen(utf8));
  out.append(2, '\0');
  return out;
}

class Reader {
 public:
  Reader(RegFileSink& sink, RegFileError* error) : sink_(sink), error_(error) {}

  bool Line(std::string_view line, size_t number) {
    line_ = number;
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') return true;
    if (line.front() == '[') return KeyLine(line);
    if (line.front() == '"' || line.front() == '@') return ValueLine(line);
    return Fail("unrecognised line: " + Excerpt(line));
  }

  bool Fail(std::string message) {
    error_->line = line_;
    error_->message = std::move(message);
    return false;
  }

 private:
  static std::string Excerpt(std::string_view s) {
    return s.size() > 40 ? std::string(s.substr(0, 40)) + "..." : std::string(s);
  }

  bool Sink(std::string message) { return message.empty() ? true : Fail(std::move(message)); }

  bool KeyLine(std::string_view line) {
    if (line.back() != ']') return Fail("key line without its closing ']'");
    std::string_view name = line.substr(1, line.size() - 2);
    const bool remove = !name.empty() && name.front() == '-';
    if (remove) name.remove_prefix(1);
    if (name.find('\0') != std::string_view::npos) return Fail("a key name must not hold a zero character");
    auto key = ParseRegKeyName(name);
    if (!key) return Fail("unknown root key in '" + Excerpt(name) + "'");
    if (remove) {
      in_key_ = false;
      if (key->path.empty()) return Fail("a root key cannot be deleted");
      return Sink(sink_.OnDeleteKey(key->root, key->path));
    }
    in_key_ = true;
    return Sink(sink_.OnKey(key->root, key->path));
  }

  bool ValueLine(std::string_view line) {
    if (!in_key_) return Fail("value line outside a key section");
    std::string name;
    size_t i = 0;
    std::string error;
    if (line.front() == '@') {
      i = 1;
    } else if (!ReadQuoted(line, i, &name, &error)) {
      return Fail(error);
    }
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size() || line[i] != '=') return Fail("value line without '='");
    const std::string_view data = TrimBlanks(line.substr(i + 1));
    if (data == "-") return Sink(sink_.OnDeleteValue(name));
    if (!data.empty() && data.front() == '"') {
      std::string text;
      size_t j = 0;
      if (!ReadQuoted(data, j, &text, &error)) return Fail(error);
      if (j != data.size()) return Fail("unexpected text after the closing quote");
      if (text.size() * 2 + 2 > kMaxRegValueBytes) return Fail("value larger than the registry allows");
      return Sink(sink_.OnValue(name, REG_SZ, TextValueBytes(text)));
    }
    if (StartsWithNoCase(data, "dword:")) {
      auto n = ParseHexNumber(TrimBlanks(data.substr(6)), 8);
      if (!n) return Fail("dword: needs one to eight hex digits");
      const char bytes[4] = {char(*n & 0xFF), char((*n >> 8) & 0xFF), char((*n >> 16) & 0xFF), char(*n >> 24)};
      return Sink(sink_.OnValue(name, REG_DWORD, std::string_view(bytes, 4)));
    }
    if (StartsWithNoCase(data, "hex")) {
      std::string_view rest = data.substr(3);
      uint32_t type = REG_BINARY;
      if (!rest.empty() && rest.front() == '(') {
        const size_t close = rest.find(')');
        if (close == std::string_view::npos) return Fail("hex( without its closing ')'");
        auto n = ParseHexNumber(rest.substr(1, close - 1), 8);
        if (!n) return Fail("bad value type in hex(...)");
        type = *n;
        rest = rest.substr(close + 1);
      }
      if (rest.empty() || rest.front() != ':') return Fail("hex value without ':'");
      std::string bytes;
      if (!ReadHexBytes(rest.substr(1), &bytes, &error)) return Fail(error);
      return Sink(sink_.OnValue(name, type, bytes));
    }
    return Fail("unknown value form: " + Excerpt(data));
  }

  RegFileSink& sink_;
  RegFileError* error_;
  size_t line_ = 0;
  bool in_key_ = false;
};

}  // namespace

bool ParseRegText(std::string_view bytes, RegFileSink& sink, RegFileError* error) {
  RegFileError ignored;
  if (!error) error = &ignored;
  Reader reader(sink, error);
  if (bytes.size() > kMaxRegFileBytes) {
    error->line = 0;
    error->message = "file larger than " + std::to_string(kMaxRegFileBytes >> 20) + " MiB";
    return false;
  }
  const std::string text = DecodeScript(bytes);
  std::string_view rest = text;
  size_t number = 0;
  bool header_seen = false;
  std::string logical;
  size_t logical_start = 0;
  while (!rest.empty()) {
    const size_t nl = rest.find('\n');
    std::string_view physical = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
    ++number;
    if (!header_seen) {
      const std::string_view head = TrimBlanks(physical);
      if (head != kHeader4 && head != kHeader5) {
        error->line = number;
        error->message = "not a registry script: the first line must be \"REGEDIT4\" or \"" + std::string(kHeader5) + "\"";
        return false;
      }
      header_seen = true;
      continue;
    }
    if (logical.empty()) {
      logical_start = number;
      logical = TrimBlanks(physical);
    } else {
      logical += TrimBlanks(physical);
    }
    if (ContinuesOnNextLine(logical) && !rest.empty()) {
      logical.pop_back();
      continue;
    }
    if (!reader.Line(logical, logical_start)) return false;
    logical.clear();
  }
  if (!header_seen) {
    error->line = 1;
    error->message = "empty file: a registry script starts with \"REGEDIT4\" or \"" + std::string(kHeader5) + "\"";
    return false;
  }
  return true;
}

}  // namespace brantel
