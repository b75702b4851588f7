#pragma once
// Market time of the reference server. Every stamp and every session is in
// Korean time (UTC+9, no daylight saving), whatever the host's zone, so the
// same clock gives the same answers everywhere.

#include <cstdint>
#include <string>
#include <string_view>

namespace brantel::quote_server {

// Seconds since 1970-01-01 00:00 counted in Korean local time.
using KstSeconds = int64_t;

struct CivilTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);
CivilTime ToCivil(KstSeconds t);

KstSeconds NowKst();

// Reads "YYYY-MM-DD hh:mm[:ss]" (a "T" may stand for the space). False for
// anything else, including impossible dates and times.
bool ParseClockText(std::string_view text, KstSeconds& out);

// The answer stamp "YY/MM/DD hh:mm:ss": from its fourth character on it reads
// "MM/DD hh:mm", which is what the viewer shows as the update time.
std::string FormatStamp(KstSeconds t);
// Row dates "YY/MM/DD" (month and day at the fourth to eighth character) and
// times "hh:mm:ss".
std::string FormatRowDate(int64_t day);
std::string FormatRowTime(int minute_of_day, int second = 0);

// Sessions run on weekdays from 09:00 to 15:30 (390 minutes).
constexpr int kSessionOpenMinute = 9 * 60;
constexpr int kSessionMinutes = 390;
bool IsTradingDay(int64_t day);
// Consecutive number of a weekday: Monday after Friday is one more. A weekend
// day gets the number of the Monday that follows it.
int64_t TradingIndex(int64_t day);
// The calendar day of a trading index (always a weekday).
int64_t DayOfTradingIndex(int64_t index);

// Where the market stands at a moment: the latest session that has begun and
// how many of its minutes have passed (390 once it has closed).
struct SessionPoint {
  int64_t index = 0;   // trading index of the session
  int minutes = 0;     // 0..390
};
SessionPoint LatestSession(KstSeconds t);

}  // namespace brantel::quote_server
