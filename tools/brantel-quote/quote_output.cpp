#include "tools/brantel-quote/quote_output.h"

#include <cstdio>

#include "protocol/change_mark.h"
#include "protocol/quote_transport.h"
#include "protocol/socket_exchange.h"

namespace brantel::quote_tool {

namespace {

bool IsWide(char16_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

// Colour escapes do not take columns.
size_t VisibleWidth(WideView text) {
  size_t width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == 0x1B) {
      while (i < text.size() && text[i] != u'm') ++i;
      continue;
    }
    width += IsWide(text[i]) ? 2 : 1;
  }
  return width;
}

}  // namespace

size_t DisplayWidth(WideView text) { return VisibleWidth(text); }

void PrintTable(const std::vector<std::vector<WideText>>& rows, const std::vector<bool>& right) {
  std::vector<size_t> widths;
  for (const auto& row : rows) {
    if (row.size() < 2) continue;  // captions and blank lines span the table
    if (row.size() > widths.size()) widths.resize(row.size(), 0);
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], VisibleWidth(row[c]));
  }
  for (const auto& row : rows) {
    std::string line;
    if (row.size() < 2) {
      std::printf("%s\n", row.empty() ? "" : Narrow(row[0]).c_str());
      continue;
    }
    for (size_t c = 0; c < row.size(); ++c) {
      const std::string pad(widths[c] - VisibleWidth(row[c]), ' ');
      const bool align_right = c < right.size() && right[c];
      if (c) line += "  ";
      line += align_right ? pad + Narrow(row[c]) : Narrow(row[c]) + (c + 1 < row.size() ? pad : "");
    }
    std::printf("%s\n", line.c_str());
  }
}

WideText ChangeCell(WideView daebi, bool colour) {
  WideText change(daebi), sign, marker;
  uint32_t colour_ref = 0;
  FormatChangeMark(change, sign, marker, colour_ref);
  WideText cell = sign.empty() ? u"  " + change : sign + u" " + change;
  if (colour && !sign.empty()) cell = (colour_ref == kChangeColourUp ? u"\x1b[31m" : u"\x1b[34m") + cell + u"\x1b[0m";
  return cell;
}

std::string JsonString(WideView text) {
  std::string out = "\"";
  for (unsigned char c : Narrow(text)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += char(c);
        }
    }
  }
  return out + "\"";
}

int ReportRequestFailure(int32_t result, const char* what) {
  const int socket = LastSocketResult();
  if (result == kTransportUnreadable) {
    std::fprintf(stderr, "brantel-quote: the server's answer to the %s request could not be read\n", what);
    return kExitUnreadable;
  }
  if (result == kTransportFailed && (socket == kSocketConnectFailed || socket == kSocketConnectTimedOut)) {
    std::fprintf(stderr, "brantel-quote: no information server answers at the configured address\n");
    return kExitNoServer;
  }
  if (result == kTransportFailed && socket <= -399) {
    std::fprintf(stderr, "brantel-quote: the server refused the %s request (HTTP, code %d)\n", what, socket);
    return kExitRefused;
  }
  if (result == kTransportFailed) {
    std::fprintf(stderr, "brantel-quote: the %s request failed (%s)\n", what,
                 socket == kSocketNoData ? "no answer within 7 seconds" :
                 socket == kSocketExchangeTooLong ? "the answer took longer than 60 seconds in all" :
                 socket == kSocketAnswerRefused ? "the answer was cut short or too large" : "connection error");
    return kExitFailure;
  }
  std::fprintf(stderr, "brantel-quote: the server refused the %s request\n", what);
  return kExitRefused;
}

}  // namespace brantel::quote_tool
