#pragma once
// One instrument's quote at a moment: what list rows and the detail show.

#include <optional>
#include <string>

#include "tools/quote-server/price_model.h"

namespace brantel::quote_server {

struct Snapshot {
  double current = 0;
  double previous_close = 0;
  double open = 0, high = 0, low = 0;
  double volume = 0;
  int decimals = 0;
  std::string date;  // "YY/MM/DD" of the session quoted
  std::string time;  // "hh:mm:ss", the close once the session has ended
  std::optional<double> quoted_rate;  // the rate as published, when it was
  double value = 0;       // trade value in won
  double market_cap = 0;  // stocks: market capitalisation in won

  double Change() const { return current - previous_close; }
  double RatePercent() const {
    if (quoted_rate) return *quoted_rate;
    return previous_close > 0 ? Change() / previous_close * 100 : 0;
  }
};

Snapshot TakeSnapshot(const PriceModel& model, const Instrument& in, KstSeconds now);

// The rate of one currency quoted in another (both "FX@..." instruments):
// how many units of `standard` buy one unit of `currency`.
Snapshot CrossSnapshot(const PriceModel& model, const Instrument& currency, const Instrument& standard, KstSeconds now);

}  // namespace brantel::quote_server
