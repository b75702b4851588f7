#include "tools/quote-server/quote_snapshot.h"

#include <cmath>

namespace brantel::quote_server {

namespace {

void StampSession(Snapshot& s, const SessionPoint& session, KstSeconds now) {
  s.date = FormatRowDate(DayOfTradingIndex(session.index));
  if (session.minutes < kSessionMinutes) {
    const CivilTime c = ToCivil(now);
    s.time = FormatRowTime(c.hour * 60 + c.minute, c.second);
  } else {
    s.time = FormatRowTime(kSessionOpenMinute + kSessionMinutes);
  }
}

}  // namespace

Snapshot TakeSnapshot(const PriceModel& model, const Instrument& in, KstSeconds now) {
  const SessionPoint session = LatestSession(now);
  const Bar bar = model.SessionBar(in, session.index, session.minutes);
  Snapshot s;
  s.current = bar.close;
  s.open = bar.open;
  s.high = bar.high;
  s.low = bar.low;
  s.volume = bar.volume;
  s.previous_close = model.Quoted(in, session.index - 1, kSessionMinutes);
  s.decimals = DecimalsOf(in, s.current);
  StampSession(s, session, now);
  return s;
}

Snapshot CrossSnapshot(const PriceModel& model, const Instrument& currency, const Instrument& standard, KstSeconds now) {
  const SessionPoint session = LatestSession(now);
  const auto cross = [&](int64_t index, int minute) {
    const double base = model.PriceAt(standard, index, minute);
    return base > 0 ? model.PriceAt(currency, index, minute) / base : 0.0;
  };
  Instrument shown = currency;
  shown.category = kExchange;
  Snapshot s;
  s.current = RoundToTick(shown, cross(session.index, session.minutes));
  s.previous_close = RoundToTick(shown, cross(session.index - 1, kSessionMinutes));
  s.open = RoundToTick(shown, cross(session.index, 0));
  s.high = std::max(s.current, s.open);
  s.low = std::min(s.current, s.open);
  s.decimals = DecimalsOf(shown, s.current);
  StampSession(s, session, now);
  return s;
}

}  // namespace brantel::quote_server
