#pragma once
// Where the server's prices come from: the sample market's price model or a
// market read from the exchange's daily files. The protocol side asks one
// source for everything it answers, so a request answered from one source
// never mixes two states of the market.

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "tools/quote-server/chart_renderer.h"
#include "tools/quote-server/market_data.h"
#include "tools/quote-server/price_model.h"
#include "tools/quote-server/quote_snapshot.h"

namespace brantel::quote_server {

// Stocks of a ranking with their quotes, in listing order.
using RankedStocks = std::vector<std::pair<const Instrument*, Snapshot>>;

class QuoteSource {
 public:
  virtual ~QuoteSource() = default;

  virtual const MarketData& Market() const = 0;
  // The moment answers are stamped with: the model quotes the clock, files
  // quote the moment of their own data.
  virtual KstSeconds Moment(KstSeconds clock) const = 0;
  // True when no answer depends on the clock: the same request is answered
  // the same way for as long as this market is served.
  virtual bool Timeless() const = 0;

  virtual Snapshot Quote(const Instrument& in, KstSeconds now) const = 0;
  // One currency quoted in another: units of `standard` per unit of `currency`.
  virtual Snapshot Cross(const Instrument& currency, const Instrument& standard, KstSeconds now) const = 0;
  // Daily bars of the last 52 weeks, oldest first, the last one today's.
  virtual std::vector<Bar> YearBars(const Instrument& in, KstSeconds now) const = 0;
  // Up to `count` daily quotes, newest first.
  virtual std::vector<Snapshot> DailyQuotes(const Instrument& in, KstSeconds now, int count) const = 0;
  // Fills the bars of a large chart for period 0 (one day) or 1 (one week).
  virtual void IntradayChart(const Instrument& in, KstSeconds now, int period, LargeChart& chart) const = 0;
  // Daily bars for the daily charts: the last `count` sessions, oldest first.
  virtual std::vector<Bar> DailyBars(const Instrument& in, KstSeconds now, int count) const = 0;
  // The stocks the rankings order, with their quotes.
  virtual std::shared_ptr<const RankedStocks> Ranked(KstSeconds now) const = 0;
};

// The source currently served. A request takes the pointer once and keeps
// that market alive until it is answered; a swap never touches it.
class SourceSlot {
 public:
  explicit SourceSlot(std::shared_ptr<const QuoteSource> source = nullptr) : source_(std::move(source)) {}
  std::shared_ptr<const QuoteSource> Get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return source_;
  }
  void Set(std::shared_ptr<const QuoteSource> source) {
    std::lock_guard<std::mutex> lock(mutex_);
    source_.swap(source);
  }  // the old market goes once no request holds it any more

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const QuoteSource> source_;
};

}  // namespace brantel::quote_server
