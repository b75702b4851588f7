#pragma once
// A market read from the exchange's daily files: every instrument's daily
// rows (one per trading day it has), the intraday points of the day's
// snapshots, and the listing of the latest stocks file. Built once from a
// set of files and never changed afterwards, so requests read it without
// locks while a newer one is being built.

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/quote-server/exchange_file.h"
#include "tools/quote-server/quote_source.h"

namespace brantel::quote_server {

struct DayRow {
  int64_t day = 0;  // days since 1970-01-01
  int minute = 0;   // minute of the day the row was taken (15:30 for the close)
  double close = 0, change = 0, open = 0, high = 0, low = 0;
  double rate = 0;  // as published; NaN when the file had none
  double volume = 0, value = 0, market_cap = 0;
};

struct IntradayPoint {
  int64_t day = 0;
  int minute = 0;
  double price = 0;
  double volume = 0;  // the day's volume so far
};

struct History {
  std::vector<DayRow> days;  // oldest first
  std::vector<IntradayPoint> points;
};

class FileMarket : public QuoteSource {
 public:
  const MarketData& Market() const override { return market_; }
  KstSeconds Moment(KstSeconds clock) const override { return has_data_ ? moment_ : clock; }
  bool Timeless() const override { return has_data_; }
  Snapshot Quote(const Instrument& in, KstSeconds now) const override;
  Snapshot Cross(const Instrument& currency, const Instrument& standard, KstSeconds now) const override;
  std::vector<Bar> YearBars(const Instrument& in, KstSeconds now) const override;
  std::vector<Snapshot> DailyQuotes(const Instrument& in, KstSeconds now, int count) const override;
  void IntradayChart(const Instrument& in, KstSeconds now, int period, LargeChart& chart) const override;
  std::vector<Bar> DailyBars(const Instrument& in, KstSeconds now, int count) const override;
  std::shared_ptr<const RankedStocks> Ranked(KstSeconds) const override { return ranked_; }

  const History* HistoryOf(const Instrument& in) const;

 private:
  friend class FileMarketBuilder;
  MarketData market_;
  std::map<std::pair<int, std::string>, History> histories_;
  std::shared_ptr<const RankedStocks> ranked_ = std::make_shared<RankedStocks>();
  bool has_data_ = false;
  KstSeconds moment_ = 0;
};

// Adds files in the order of their moments (a day's snapshots before its
// closing file), then makes the market.
class FileMarketBuilder {
 public:
  // `sample` names the indices the viewer knows (코스피 is KOSPI and so on).
  explicit FileMarketBuilder(const MarketData& sample);

  void Add(const ExchangeFile& file);
  std::shared_ptr<const FileMarket> Finish();

 private:
  struct Entry {
    Instrument instrument;
    History history;
    size_t listed_in = 0;  // the Add call that last listed it (a code twice in a file lists once)
  };
  Entry& EntryFor(int category, const std::string& code);
  std::string IndexCode(const std::string& name, std::string& group) const;

  std::unordered_map<std::string, size_t> known_indices_;  // name without blanks → sample index
  const MarketData& sample_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> entry_of_;  // category digit + code
  std::vector<size_t> latest_listing_;                // entries of the latest stocks file
  int64_t listing_key_ = -1;
  size_t adds_ = 0;
  int64_t moment_key_ = -1;
};

// The moment of a file as a sort key: a day's snapshots by their time, then
// its closing file.
int64_t MomentKey(const FileMoment& moment);

}  // namespace brantel::quote_server
