#pragma once
// Deterministic prices. A price is a pure function of the seed, the
// instrument and the moment, so any two servers with the same seed and clock
// answer alike, and history needs no storage.
//
// The moment is a point on a trading time line: every session is 400 units,
// 10 for the night (so a session may open away from the last close) and 390
// for its minutes. The log price is value noise summed over octaves whose
// amplitudes grow with the square root of their length, which moves like a
// random walk at every scale yet stays within a band around the reference.

#include <cstdint>
#include <vector>

#include "tools/quote-server/market_clock.h"
#include "tools/quote-server/market_data.h"

namespace brantel::quote_server {

struct Bar {
  int64_t index = 0;  // trading index of the session (daily bars)
  int minute = 0;     // first session minute (intraday bars)
  double open = 0, high = 0, low = 0, close = 0;
  double volume = 0;
};

class PriceModel {
 public:
  explicit PriceModel(uint64_t seed) : seed_(seed) {}

  // Raw model price of `in` at session `index`, minute 0..390.
  double PriceAt(const Instrument& in, int64_t index, int minute) const;
  // Price rounded the way the market quotes it (stock ticks, decimals).
  double Quoted(const Instrument& in, int64_t index, int minute) const;

  // Session bar up to `minutes` into the session (390: the whole day).
  Bar SessionBar(const Instrument& in, int64_t index, int minutes = kSessionMinutes) const;
  // Bars of `step` minutes covering the first `minutes` of a session.
  std::vector<Bar> IntradayBars(const Instrument& in, int64_t index, int minutes, int step) const;
  // Daily bars of the `count` sessions ending with `last` (the last one cut
  // at `last_minutes`), oldest first.
  std::vector<Bar> DailyBars(const Instrument& in, int64_t last, int last_minutes, int count) const;

 private:
  double Noise(uint64_t key, double t) const;
  uint64_t seed_;
};

// Quote rounding: stock prices to the exchange's tick sizes, others to the
// decimals their kind is shown with.
double RoundToTick(const Instrument& in, double price);
int DecimalsOf(const Instrument& in, double price);

}  // namespace brantel::quote_server
