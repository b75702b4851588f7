#include "updater/download_answer.h"

#include <cctype>

namespace brantel {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// Reads the decimal digits of `text`, ignoring spaces and tabs around and
// between them as the device did. False for anything else or an overflow.
bool ReadLength(std::string_view text, uint64_t& out) {
  uint64_t v = 0;
  bool any = false;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    if (c < '0' || c > '9') return false;
    if (v > (UINT64_MAX - 9) / 10) return false;
    v = v * 10 + uint64_t(c - '0');
    any = true;
  }
  out = v;
  return any;
}

}  // namespace

bool ParseAnswerHeader(std::string_view header, AnswerHeader& out) {
  out = {};
  // "HTTP/1.1 200 OK": the status starts at character 9.
  if (header.size() < 12 || !StartsWithNoCase(header, "HTTP/")) return false;
  int status = 0;
  for (size_t i = 9; i < 12; ++i) {
    const char c = header[i];
    if (c < '0' || c > '9') return false;
    status = status * 10 + (c - '0');
  }
  if (header.size() > 12 && header[12] != ' ' && header[12] != '\r') return false;
  out.status = status;
  // Only the header is searched, so a body that happens to contain the text
  // "Content-Length:" is never read as one. The first such line counts.
  size_t pos = header.find("\r\n");
  while (pos != std::string_view::npos) {
    const size_t start = pos + 2;
    size_t end = header.find("\r\n", start);
    const std::string_view line = header.substr(start, end == std::string_view::npos ? header.npos : end - start);
    constexpr std::string_view kLength = "Content-Length:";
    if (!out.has_length && StartsWithNoCase(line, kLength)) {
      if (!ReadLength(line.substr(kLength.size()), out.content_length)) return false;
      out.has_length = true;
    }
    if (StartsWithNoCase(line, "Content-Range:")) out.partial = true;
    pos = end;
  }
  return true;
}

}  // namespace brantel
