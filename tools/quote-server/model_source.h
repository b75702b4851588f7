#pragma once
// The sample market: prices from the deterministic model, quoted at the
// clock's moment.

#include <memory>
#include <mutex>

#include "tools/quote-server/quote_source.h"

namespace brantel::quote_server {

class ModelSource : public QuoteSource {
 public:
  ModelSource(const MarketData& market, uint64_t seed) : market_(market), model_(seed) {}

  const MarketData& Market() const override { return market_; }
  KstSeconds Moment(KstSeconds clock) const override { return clock; }
  bool Timeless() const override { return false; }
  Snapshot Quote(const Instrument& in, KstSeconds now) const override;
  Snapshot Cross(const Instrument& currency, const Instrument& standard, KstSeconds now) const override;
  std::vector<Bar> YearBars(const Instrument& in, KstSeconds now) const override;
  std::vector<Snapshot> DailyQuotes(const Instrument& in, KstSeconds now, int count) const override;
  void IntradayChart(const Instrument& in, KstSeconds now, int period, LargeChart& chart) const override;
  std::vector<Bar> DailyBars(const Instrument& in, KstSeconds now, int count) const override;
  std::shared_ptr<const RankedStocks> Ranked(KstSeconds now) const override;

 private:
  const MarketData& market_;
  PriceModel model_;
  // Quotes of every stock, computed once per moment: rankings ask for all
  // of them, and a fixed or unchanged clock gives the same ones.
  mutable std::mutex ranked_mutex_;
  mutable KstSeconds ranked_time_ = -1;
  mutable std::shared_ptr<const RankedStocks> ranked_;
};

}  // namespace brantel::quote_server
