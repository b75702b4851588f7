// The bars behind the large chart of a detail answer, per chart period.

#include <algorithm>
#include <limits>

#include "tools/quote-server/quote_service.h"

namespace brantel::quote_server {

namespace {

const char* const kPeriodCaptions[] = {"1일", "1주", "1개월", "6개월", "1년"};

std::vector<double> MovingAverage(const std::vector<Bar>& bars, size_t span) {
  std::vector<double> out(bars.size(), std::numeric_limits<double>::quiet_NaN());
  double sum = 0;
  for (size_t i = 0; i < bars.size(); ++i) {
    sum += bars[i].close;
    if (i >= span) sum -= bars[i - span].close;
    if (i + 1 >= span) out[i] = sum / double(span);
  }
  return out;
}

}  // namespace

// Period 0: today's 5-minute candles; 1: a week of 30-minute candles;
// 2, 3, 4: daily candles of one month, six months and one year, with 5- and
// 20-session averages.
LargeChart QuoteService::LargeChartFor(const QuoteSource& source, const Instrument& in, int period, KstSeconds now,
                                       const Snapshot& quote) const {
  LargeChart chart;
  chart.name = in.name;
  chart.code = in.code;
  chart.caption = kPeriodCaptions[period >= 0 && period <= 4 ? period : 0];
  chart.decimals = quote.decimals;
  chart.quote = quote;
  chart.show_volume = in.category != kExchange && in.category != kInterestRate;
  if (period <= 1) {
    source.IntradayChart(in, now, period, chart);
  } else {
    const int sessions = period == 2 ? 22 : period == 3 ? 125 : kYearSessions;
    // Nineteen more sessions in front, so the averages start at the left edge.
    const std::vector<Bar> bars = source.DailyBars(in, now, sessions + 19);
    const std::vector<double> short_avg = MovingAverage(bars, 5);
    const std::vector<double> long_avg = MovingAverage(bars, 20);
    // A market read from files may hold fewer sessions than the period.
    const auto shown = std::ptrdiff_t(std::min(bars.size(), size_t(sessions)));
    chart.bars.assign(bars.end() - shown, bars.end());
    chart.average_short.assign(short_avg.end() - shown, short_avg.end());
    chart.average_long.assign(long_avg.end() - shown, long_avg.end());
  }
  return chart;
}

}  // namespace brantel::quote_server
