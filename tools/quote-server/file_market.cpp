#include "tools/quote-server/file_market.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brantel::quote_server {

namespace {

constexpr int kCloseMinute = kSessionOpenMinute + kSessionMinutes;  // 15:30
constexpr int64_t kYearDays = 52 * 7;

std::string WithoutBlanks(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

Bar BarOf(const DayRow& row) {
  Bar b;
  b.index = TradingIndex(row.day);
  b.open = row.open;
  b.high = row.high;
  b.low = row.low;
  b.close = row.close;
  b.volume = row.volume;
  return b;
}

Snapshot SnapshotOf(const Instrument& in, const DayRow& row) {
  Snapshot s;
  s.current = row.close;
  s.previous_close = row.close - row.change;
  if (!std::isnan(row.rate)) s.quoted_rate = row.rate;
  s.open = row.open;
  s.high = row.high;
  s.low = row.low;
  s.volume = row.volume;
  s.value = row.value > 0 ? row.value : row.volume * row.close;
  s.market_cap = row.market_cap > 0 ? row.market_cap : double(in.shares) * row.close;
  s.decimals = DecimalsOf(in, row.close);
  s.date = FormatRowDate(row.day);
  s.time = FormatRowTime(row.minute);
  return s;
}

}  // namespace

int64_t MomentKey(const FileMoment& moment) { return moment.day * 2000 + moment.minute.value_or(1999); }

const History* FileMarket::HistoryOf(const Instrument& in) const {
  const auto it = histories_.find({in.category, in.code});
  return it == histories_.end() || it->second.days.empty() ? nullptr : &it->second;
}

Snapshot FileMarket::Quote(const Instrument& in, KstSeconds) const {
  const History* h = HistoryOf(in);
  if (!h) return {};
  return SnapshotOf(in, h->days.back());
}

Snapshot FileMarket::Cross(const Instrument& currency, const Instrument& standard, KstSeconds now) const {
  const Snapshot c = Quote(currency, now);
  const Snapshot base = Quote(standard, now);
  Instrument shown = currency;
  shown.category = kExchange;
  Snapshot s = c;
  s.quoted_rate.reset();
  if (base.current <= 0 || base.previous_close <= 0) return s;
  s.current = RoundToTick(shown, c.current / base.current);
  s.previous_close = RoundToTick(shown, c.previous_close / base.previous_close);
  s.open = RoundToTick(shown, c.open / base.current);
  s.high = std::max(s.current, s.open);
  s.low = std::min(s.current, s.open);
  s.decimals = DecimalsOf(shown, s.current);
  return s;
}

std::vector<Bar> FileMarket::YearBars(const Instrument& in, KstSeconds) const {
  std::vector<Bar> bars;
  const History* h = HistoryOf(in);
  if (!h) return bars;
  const int64_t first = h->days.back().day - kYearDays;
  for (const DayRow& row : h->days)
    if (row.day > first) bars.push_back(BarOf(row));
  return bars;
}

std::vector<Bar> FileMarket::DailyBars(const Instrument& in, KstSeconds, int count) const {
  std::vector<Bar> bars;
  const History* h = HistoryOf(in);
  if (!h || count <= 0) return bars;
  const size_t n = std::min(h->days.size(), size_t(count));
  for (size_t i = h->days.size() - n; i < h->days.size(); ++i) bars.push_back(BarOf(h->days[i]));
  return bars;
}

std::vector<Snapshot> FileMarket::DailyQuotes(const Instrument& in, KstSeconds, int count) const {
  std::vector<Snapshot> out;
  const History* h = HistoryOf(in);
  if (!h) return out;
  for (auto it = h->days.rbegin(); it != h->days.rend() && out.size() < size_t(count); ++it)
    out.push_back(SnapshotOf(in, *it));
  return out;
}

void FileMarket::IntradayChart(const Instrument& in, KstSeconds, int period, LargeChart& chart) const {
  chart.intraday = true;
  const History* h = HistoryOf(in);
  if (!h) return;
  const DayRow& today = h->days.back();
  if (period == 0) {
    // A candle from each snapshot to the next; without snapshots, the day.
    double open = today.open, volume = 0;
    for (const IntradayPoint& p : h->points) {
      if (p.day != today.day) continue;
      Bar b;
      b.index = TradingIndex(p.day);
      b.minute = std::max(0, p.minute - kSessionOpenMinute);
      b.open = open;
      b.close = p.price;
      b.high = std::max(open, p.price);
      b.low = std::min(open, p.price);
      b.volume = std::max(0.0, p.volume - volume);
      chart.bars.push_back(b);
      open = p.price;
      volume = p.volume;
    }
    if (chart.bars.empty()) chart.bars.push_back(BarOf(today));
    return;
  }
  // A week: the last five trading days.
  chart.bars = DailyBars(in, 0, 5);
}

FileMarketBuilder::FileMarketBuilder(const MarketData& sample) : sample_(sample) {
  const std::vector<Instrument>& indices = sample.List(kIndex);
  for (size_t i = 0; i < indices.size(); ++i) known_indices_[WithoutBlanks(indices[i].name)] = i;
}

std::string FileMarketBuilder::IndexCode(const std::string& name, std::string& group) const {
  const auto it = known_indices_.find(WithoutBlanks(name));
  if (it != known_indices_.end()) {
    const Instrument& known = sample_.List(kIndex)[it->second];
    group = known.group;
    return known.code;
  }
  // An index the sample does not know: a code made from its name, the same
  // in every file and every server reading them.
  uint32_t h = 2166136261u;
  for (unsigned char c : WithoutBlanks(name)) h = (h ^ c) * 16777619u;
  char code[16];
  std::snprintf(code, sizeof code, "IX%08X", h);
  group = '0';
  return code;
}

FileMarketBuilder::Entry& FileMarketBuilder::EntryFor(int category, const std::string& code) {
  std::string key = std::to_string(category) + code;
  const auto it = entry_of_.find(key);
  if (it != entry_of_.end()) return entries_[it->second];
  entry_of_.emplace(std::move(key), entries_.size());
  Entry& e = entries_.emplace_back();
  e.instrument.category = category;
  e.instrument.code = code;
  e.instrument.group = '0';
  return e;
}

void FileMarketBuilder::Add(const ExchangeFile& file) {
  const int64_t key = MomentKey(file.moment);
  const int minute = file.moment.minute.value_or(kCloseMinute);
  const bool listing = file.kind == FileKind::kStocks && key >= listing_key_;
  ++adds_;
  if (listing) {
    latest_listing_.clear();
    listing_key_ = key;
  }
  moment_key_ = std::max(moment_key_, key);
  for (const FileRow& row : file.rows) {
    std::string group = row.group;
    const std::string code = row.category == kIndex ? IndexCode(row.name, group) : row.code;
    Entry& e = EntryFor(row.category, code);
    Instrument& in = e.instrument;
    in.name = row.name;
    if (row.category == kStock) {
      in.market = row.market;
      if (row.shares > 0) in.shares = int64_t(row.shares);
    } else {
      in.group = group;
    }
    DayRow day;
    day.day = file.moment.day;
    day.minute = minute;
    day.close = row.close;
    day.change = row.change;
    day.open = row.open;
    day.high = row.high;
    day.low = row.low;
    day.rate = row.rate.value_or(std::nan(""));
    day.volume = row.volume;
    day.value = row.value;
    day.market_cap = row.market_cap;
    std::vector<DayRow>& days = e.history.days;
    // A later file of the same day (a snapshot, then the close) replaces
    // that day's row; files come in order, so a row is never moved back.
    if (!days.empty() && days.back().day == day.day) {
      if (days.back().minute <= day.minute) days.back() = day;
    } else if (days.empty() || days.back().day < day.day) {
      days.push_back(day);
    }
    if (file.moment.minute) e.history.points.push_back({day.day, minute, row.close, row.volume});
    if (listing && e.listed_in != adds_) {
      e.listed_in = adds_;
      latest_listing_.push_back(size_t(&e - entries_.data()));
    }
  }
}

std::shared_ptr<const FileMarket> FileMarketBuilder::Finish() {
  auto market = std::make_shared<FileMarket>();
  // The won is every currency's base; with no currency file it is all there is.
  if (!entry_of_.count(std::to_string(kExchange) + "FX@KRW")) {
    Entry& won = EntryFor(kExchange, "FX@KRW");
    won.instrument.name = "원화";
    won.instrument.group = '2';
    if (moment_key_ >= 0) {
      DayRow row;
      row.day = moment_key_ / 2000;
      row.minute = kCloseMinute;
      row.close = row.open = row.high = row.low = 1;
      row.rate = std::nan("");
      won.history.days.push_back(row);
    }
  }
  // Stocks of the latest listing first, in its order; stocks missing from
  // it (halted) after them, still quoted from their last day.
  std::vector<bool> listed(entries_.size(), false);
  for (size_t i : latest_listing_) listed[i] = true;
  std::vector<size_t> order = latest_listing_;
  for (size_t i = 0; i < entries_.size(); ++i)
    if (!listed[i]) order.push_back(i);
  std::string master;
  for (size_t i : latest_listing_) {
    const Instrument& in = entries_[i].instrument;
    master += in.code + "|" + in.name + "|" + in.market + "|\n";
  }
  market->market_.SetMaster(std::move(master), latest_listing_.size());
  for (size_t i : order) {
    Entry& e = entries_[i];
    const auto key = std::make_pair(e.instrument.category, e.instrument.code);
    market->market_.Add(e.instrument);
    market->histories_.emplace(key, std::move(e.history));
  }
  auto ranked = std::make_shared<RankedStocks>();
  for (size_t i : latest_listing_) {
    const Instrument* in = market->market_.Find(kStock, entries_[i].instrument.code);
    if (in) ranked->emplace_back(in, market->Quote(*in, 0));
  }
  market->ranked_ = std::move(ranked);
  if (moment_key_ >= 0) {
    market->has_data_ = true;
    // The latest stocks file stamps the market; without one, the latest file.
    const int64_t key = listing_key_ >= 0 ? listing_key_ : moment_key_;
    const int minute = int(key % 2000) == 1999 ? kCloseMinute : int(key % 2000);
    market->moment_ = KstSeconds(key / 2000) * 86400 + minute * 60;
  }
  entries_.clear();
  entry_of_.clear();
  return market;
}

}  // namespace brantel::quote_server
