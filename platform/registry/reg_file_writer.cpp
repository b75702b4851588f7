#include "platform/registry/reg_file_writer.h"

#include <cstdio>
#include <optional>

#include "platform/text.h"

namespace brantel {

namespace {

constexpr size_t kWrapColumn = 76;

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

// The text of a REG_SZ that can be written as a quoted string: UTF-16LE
// with exactly one terminator at the end, no line breaks, no lone surrogate.
std::optional<std::string> QuotableText(std::string_view data) {
  if (data.size() < 2 || data.size() % 2 != 0) return std::nullopt;
  WideText w = WideFromUtf16LeBytes(data);
  if (w.back() != 0) return std::nullopt;
  w.pop_back();
  for (char16_t c : w)
    if (c == 0 || c == u'\r' || c == u'\n') return std::nullopt;
  std::string utf8 = Narrow(w);
  if (Widen(utf8) != w) return std::nullopt;
  return utf8;
}

void AppendHex(std::string& line, std::string_view data) {
  size_t column = line.size();
  char buf[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", unsigned(uint8_t(data[i])));
    line += buf;
    column += 2;
    if (i + 1 < data.size()) {
      line += ',';
      ++column;
      if (column >= kWrapColumn) {
        line += "\\\n  ";
        column = 2;
      }
    }
  }
}

}  // namespace

std::string FormatRegValueLine(std::string_view name, uint32_t type, std::string_view data) {
  std::string line = name.empty() ? std::string("@") : Quote(name);
  line += '=';
  if (type == REG_SZ) {
    if (auto text = QuotableText(data)) return line + Quote(*text);
  }
  if (type == REG_DWORD && data.size() == 4) {
    char buf[16];
    const uint32_t n = uint32_t(uint8_t(data[0])) | uint32_t(uint8_t(data[1])) << 8 |
                       uint32_t(uint8_t(data[2])) << 16 | uint32_t(uint8_t(data[3])) << 24;
    std::snprintf(buf, sizeof buf, "dword:%08x", unsigned(n));
    return line + buf;
  }
  if (type == REG_BINARY) {
    line += "hex:";
  } else {
    char buf[24];
    std::snprintf(buf, sizeof buf, "hex(%x):", unsigned(type));
    line += buf;
  }
  AppendHex(line, data);
  return line;
}

namespace {

// A line break or a zero character inside a name cannot be written in a
// script (the reader refuses both).
bool WritableName(std::string_view name) {
  return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

long ExportKey(RegistryStore& store, RegRoot root, const std::string& path, std::string* out) {
  RegKeyId key = 0;
  if (long r = store.OpenKey(root, path, &key); r != ERROR_SUCCESS) return r;
  std::string stored;
  if (long r = store.KeyPath(key, &stored); r != ERROR_SUCCESS) return r;
  if (!WritableName(stored)) return ERROR_INVALID_DATA;
  *out += '[';
  *out += RegRootName(root);
  if (!stored.empty()) *out += "\\" + stored;
  *out += "]\n";
  std::vector<RegValue> values;
  if (long r = store.EnumValues(key, &values); r != ERROR_SUCCESS) return r;
  for (const auto& v : values) {
    if (!WritableName(v.name)) return ERROR_INVALID_DATA;
    *out += FormatRegValueLine(v.name, v.type, v.data) + "\n";
  }
  *out += '\n';
  std::vector<std::string> subkeys;
  if (long r = store.EnumSubkeys(key, &subkeys); r != ERROR_SUCCESS) return r;
  for (const auto& sub : subkeys) {
    if (long r = ExportKey(store, root, stored.empty() ? sub : stored + "\\" + sub, out); r != ERROR_SUCCESS) return r;
  }
  return ERROR_SUCCESS;
}

}  // namespace

long ExportRegText(RegistryStore& store, RegRoot root, std::string_view path, std::string* out) {
  std::string text = "Windows Registry Editor Version 5.00\n\n";
  // One read transaction: a writer in another process cannot change the
  // tree half-way through the export.
  const long r = store.ReadTransaction([&] { return ExportKey(store, root, std::string(path), &text); });
  if (r == ERROR_SUCCESS) *out = std::move(text);
  return r;
}

}  // namespace brantel
