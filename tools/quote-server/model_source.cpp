#include "tools/quote-server/model_source.h"

namespace brantel::quote_server {

namespace {
constexpr int kYearSessions = 250;  // sessions of the 52-week summary and chart
}

Snapshot ModelSource::Quote(const Instrument& in, KstSeconds now) const { return TakeSnapshot(model_, in, now); }

Snapshot ModelSource::Cross(const Instrument& currency, const Instrument& standard, KstSeconds now) const {
  return CrossSnapshot(model_, currency, standard, now);
}

std::vector<Bar> ModelSource::YearBars(const Instrument& in, KstSeconds now) const {
  return DailyBars(in, now, kYearSessions);
}

std::vector<Bar> ModelSource::DailyBars(const Instrument& in, KstSeconds now, int count) const {
  const SessionPoint session = LatestSession(now);
  return model_.DailyBars(in, session.index, session.minutes, count);
}

std::vector<Snapshot> ModelSource::DailyQuotes(const Instrument& in, KstSeconds now, int count) const {
  const Snapshot today = Quote(in, now);
  const std::vector<Bar> bars = DailyBars(in, now, count + 1);
  std::vector<Snapshot> out;
  for (size_t back = 0; back < size_t(count) && back + 1 < bars.size(); ++back) {
    const Bar& bar = bars[bars.size() - 1 - back];
    const Bar& before = bars[bars.size() - 2 - back];
    Snapshot day;
    day.current = bar.close;
    day.previous_close = before.close;
    day.decimals = today.decimals;
    day.date = FormatRowDate(DayOfTradingIndex(bar.index));
    day.time = back == 0 ? today.time : FormatRowTime(kSessionOpenMinute + kSessionMinutes);
    out.push_back(std::move(day));
  }
  return out;
}

void ModelSource::IntradayChart(const Instrument& in, KstSeconds now, int period, LargeChart& chart) const {
  const SessionPoint session = LatestSession(now);
  chart.intraday = true;
  if (period == 0) {
    chart.bars = model_.IntradayBars(in, session.index, session.minutes, 5);
    chart.slots = kSessionMinutes / 5;
    return;
  }
  for (int64_t i = session.index - 4; i <= session.index; ++i) {
    const auto day = model_.IntradayBars(in, i, i == session.index ? session.minutes : kSessionMinutes, 30);
    chart.bars.insert(chart.bars.end(), day.begin(), day.end());
  }
  chart.slots = 5 * ((kSessionMinutes + 29) / 30);
}

std::shared_ptr<const RankedStocks> ModelSource::Ranked(KstSeconds now) const {
  std::lock_guard<std::mutex> lock(ranked_mutex_);
  if (!ranked_ || ranked_time_ != now) {
    auto ranked = std::make_shared<RankedStocks>();
    ranked->reserve(market_.StockCount());
    for (const Instrument& in : market_.List(kStock)) {
      Snapshot s = Quote(in, now);
      s.value = s.volume * s.current;
      s.market_cap = double(in.shares) * s.current;
      ranked->emplace_back(&in, std::move(s));
    }
    ranked_ = std::move(ranked);
    ranked_time_ = now;
  }
  return ranked_;
}

}  // namespace brantel::quote_server
