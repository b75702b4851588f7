#include "app/dialogs/version_text.h"

#include <fstream>

#include "platform/module_info.h"

namespace brantel {
namespace {
constexpr size_t kMaxVersionLines = 4096;
constexpr size_t kMaxVersionBytes = 1 << 20;  // a larger file is read this far
}

std::vector<WideText> ReadVersionLines(const std::string& path) {
  std::vector<WideText> lines;
  std::ifstream in(path, std::ios::binary);
  std::string text(kMaxVersionBytes, '\0');
  in.read(text.data(), std::streamsize(text.size()));
  text.resize(size_t(in.gcount()));
  size_t start = 0;
  while (start < text.size() && lines.size() < kMaxVersionLines) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string raw = text.substr(start, end - start);
    start = end + 1;
    std::erase(raw, '\r');
    WideText line = Widen(raw);
    if (line.empty()) lines.emplace_back();
    for (size_t at = 0; at < line.size() && lines.size() < kMaxVersionLines; at += kVersionLineLimit)
      lines.push_back(line.substr(at, kVersionLineLimit));
  }
  return lines;
}

std::string VersionInfoPath() { return Narrow(GetModuleDirectory() + kVersionInfoFileName); }

std::vector<WideText> VersionRows(const std::vector<WideText>& lines, WideView file_version) {
  std::vector<WideText> rows;
  for (const WideText& line : lines)
    if (!line.empty()) rows.push_back(line);
  if (rows.empty()) rows.emplace_back(file_version);
  return rows;
}

}  // namespace brantel
