#include "tools/quote-server/market_clock.h"

#include <chrono>
#include <cstdio>

namespace brantel::quote_server {

namespace {
constexpr int64_t kKstOffset = 9 * 3600;
constexpr int64_t kFirstMonday = 4;  // 1970-01-05

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
}  // namespace

int64_t DaysFromCivil(int year, int month, int day) {
  const int64_t y = int64_t(year) - (month <= 2);
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t mp = (month + 9) % 12;
  const int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = FloorDiv(days, 146097);
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = int(doy - (153 * mp + 2) / 5 + 1);
  month = int(mp < 10 ? mp + 3 : mp - 9);
  year = int(yoe + era * 400 + (month <= 2));
}

CivilTime ToCivil(KstSeconds t) {
  CivilTime c;
  const int64_t days = FloorDiv(t, 86400);
  const int64_t rest = t - days * 86400;
  CivilFromDays(days, c.year, c.month, c.day);
  c.hour = int(rest / 3600);
  c.minute = int(rest / 60 % 60);
  c.second = int(rest % 60);
  return c;
}

KstSeconds NowKst() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::seconds>(now).count() + kKstOffset;
}

bool ParseClockText(std::string_view text, KstSeconds& out) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char sep = 0;
  int used = 0;
  const std::string copy(text);
  const int fields = std::sscanf(copy.c_str(), "%4d-%2d-%2d%c%2d:%2d%n:%2d%n", &y, &mo, &d, &sep, &h, &mi, &used, &s, &used);
  if (fields < 6 || size_t(used) != copy.size() || (sep != ' ' && sep != 'T')) return false;
  if (y < 1971 || y > 9999 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0)
    return false;
  int cy = 0, cm = 0, cd = 0;
  const int64_t days = DaysFromCivil(y, mo, d);
  CivilFromDays(days, cy, cm, cd);
  if (cm != mo || cd != d) return false;  // 31 April and the like
  out = days * 86400 + h * 3600 + mi * 60 + s;
  return true;
}

std::string FormatStamp(KstSeconds t) {
  const CivilTime c = ToCivil(t);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d:%02d", c.year % 100, c.month, c.day, c.hour, c.minute, c.second);
  return buf;
}

std::string FormatRowDate(int64_t day) {
  int y = 0, m = 0, d = 0;
  CivilFromDays(day, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", y % 100, m, d);
  return buf;
}

std::string FormatRowTime(int minute_of_day, int second) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", minute_of_day / 60 % 24, minute_of_day % 60, second % 60);
  return buf;
}

bool IsTradingDay(int64_t day) {
  const int64_t r = day - kFirstMonday - FloorDiv(day - kFirstMonday, 7) * 7;
  return r < 5;
}

int64_t TradingIndex(int64_t day) {
  const int64_t w = FloorDiv(day - kFirstMonday, 7);
  const int64_t r = day - kFirstMonday - w * 7;
  return w * 5 + (r < 5 ? r : 5);
}

int64_t DayOfTradingIndex(int64_t index) {
  const int64_t w = FloorDiv(index, 5);
  return kFirstMonday + w * 7 + (index - w * 5);
}

SessionPoint LatestSession(KstSeconds t) {
  const int64_t day = FloorDiv(t, 86400);
  const int minute = int((t - day * 86400) / 60);
  SessionPoint p;
  if (IsTradingDay(day) && minute >= kSessionOpenMinute) {
    p.index = TradingIndex(day);
    p.minutes = minute - kSessionOpenMinute < kSessionMinutes ? minute - kSessionOpenMinute : kSessionMinutes;
  } else {
    // Before the opening bell or on a weekend: the previous session, closed.
    p.index = TradingIndex(day) - 1;
    p.minutes = kSessionMinutes;
  }
  return p;
}

}  // namespace brantel::quote_server
