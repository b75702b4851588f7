#include "tools/quote-server/exchange_csv.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "tools/quote-server/market_clock.h"

namespace brantel::quote_server {

namespace {

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = uint8_t(s[i]);
    int more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (more < 0 || (more == 1 && c < 0xC2) || (more > 0 && i + size_t(more) >= s.size())) return false;
    for (int k = 1; k <= more; ++k)
      if ((uint8_t(s[i + size_t(k)]) & 0xC0) != 0x80) return false;
    i += size_t(more) + 1;
  }
  return true;
}

bool FromCp949(std::string_view bytes, std::string& utf8) {
  iconv_t cd = iconv_open("UTF-8", "CP949");
  if (cd == iconv_t(-1)) return false;
  utf8.assign(bytes.size() * 3 / 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char* out = utf8.data();
  size_t out_left = utf8.size();
  bool ok = true;
  while (in_left > 0) {
    if (iconv(cd, &in, &in_left, &out, &out_left) != size_t(-1)) continue;
    if (errno == E2BIG) {
      const size_t used = size_t(out - utf8.data());
      utf8.resize(utf8.size() * 2);
      out = utf8.data() + used;
      out_left = utf8.size() - used;
      continue;
    }
    ok = false;  // an invalid or cut sequence: not CP949 either
    break;
  }
  utf8.resize(size_t(out - utf8.data()));
  iconv_close(cd);
  return ok;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return !s.empty();
}

int DigitsValue(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

}  // namespace

bool DecodeDownload(std::string_view bytes, std::string& utf8) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) {
    utf8.assign(bytes);
    return true;
  }
  return FromCp949(bytes, utf8);
}

std::vector<std::string_view> SplitCsvLine(std::string_view line, std::string& scratch) {
  std::vector<std::string_view> fields;
  // Fields with doubled quotes are unescaped into `scratch`; reserve it once
  // so the views into it stay valid.
  scratch.clear();
  scratch.reserve(line.size());
  size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && line[i] == '"') {
      const size_t start = ++i;
      bool escaped = false;
      size_t end = start;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            escaped = true;
            i += 2;
            continue;
          }
          break;
        }
        ++i;
      }
      end = i;
      if (i < line.size()) ++i;  // the closing quote
      std::string_view field = line.substr(start, end - start);
      if (escaped) {
        const size_t at = scratch.size();
        for (size_t k = 0; k < field.size(); ++k) {
          scratch += field[k];
          if (field[k] == '"') ++k;
        }
        field = std::string_view(scratch).substr(at);
      }
      fields.push_back(field);
      while (i < line.size() && line[i] != ',') ++i;  // anything after the quote is dropped
    } else {
      const size_t comma = line.find(',', i);
      const size_t end = comma == std::string_view::npos ? line.size() : comma;
      fields.push_back(Trim(line.substr(i, end - i)));
      i = end;
    }
    if (i >= line.size()) break;
    ++i;  // the comma
  }
  return fields;
}

std::optional<double> ReadCsvNumber(std::string_view field) {
  field = Trim(field);
  if (field.empty() || field == "-") return std::nullopt;
  bool negative = false;
  if (field[0] == '-' || field[0] == '+') {
    negative = field[0] == '-';
    field.remove_prefix(1);
  }
  char plain[64] = {};
  size_t n = 0;
  for (char c : field) {
    if (c == ',') continue;
    if (n + 1 >= sizeof plain || !((c >= '0' && c <= '9') || c == '.')) return std::nullopt;
    plain[n++] = c;
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(plain, plain + n, value);
  if (ec != std::errc() || end != plain + n || n == 0) return std::nullopt;
  return negative ? -value : value;
}

std::optional<FileMoment> MomentFromFileName(std::string_view name) {
  const size_t slash = name.find_last_of('/');
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  for (size_t i = 0; i + 8 <= name.size(); ++i) {
    if (i > 0 && name[i - 1] >= '0' && name[i - 1] <= '9') continue;  // inside a longer number
    const std::string_view date = name.substr(i, 8);
    if (!AllDigits(date)) continue;
    const int year = DigitsValue(date.substr(0, 4)), month = DigitsValue(date.substr(4, 2)),
              day = DigitsValue(date.substr(6, 2));
    KstSeconds check = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d 00:00", year, month, day);
    if (year < 1980 || !ParseClockText(text, check)) continue;
    FileMoment moment;
    moment.day = DaysFromCivil(year, month, day);
    size_t at = i + 8;
    if (at < name.size() && (name[at] == '_' || name[at] == '-' || name[at] == 'T' || name[at] == ' ')) ++at;
    const std::string_view time = name.substr(at, 4);
    const bool time_ends = at + 4 >= name.size() || !(name[at + 4] >= '0' && name[at + 4] <= '9');
    if (time.size() == 4 && AllDigits(time) && time_ends) {
      const int hour = DigitsValue(time.substr(0, 2)), minute = DigitsValue(time.substr(2, 2));
      if (hour < 24 && minute < 60) moment.minute = hour * 60 + minute;
    }
    return moment;
  }
  return std::nullopt;
}

}  // namespace brantel::quote_server
