#include "cache/sql_text.h"

#include <sqlite3.h>

#include <cstdarg>
#include <vector>

namespace brantel {

std::string FormatSql(size_t buffer_size, const char* format, ...) {
  std::vector<char> buffer(buffer_size, '\0');
  va_list args;
  va_start(args, format);
  sqlite3_vsnprintf(int(buffer_size), buffer.data(), format, args);
  va_end(args);
  return std::string(buffer.data());
}

void AppendSqlLiteral(std::string& out, std::string_view narrow) {
  out += '\'';
  for (char c : narrow) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
}

WideText BuildQuotedCodeList(std::span<const WideText> codes) {
  WideText out;
  for (const WideText& code : codes) {
    if (!out.empty()) out += u',';
    out += u'\'';
    for (char16_t c : code) {
      if (c == u'\'') out += u'\'';
      out += c;
    }
    out += u'\'';
  }
  return out;
}

}  // namespace brantel
