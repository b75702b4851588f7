#pragma once
// The chart pictures of a detail answer, rendered as PNG: a small 52-week
// line chart for the summary panel and a large candle chart with price and
// volume panes, axes, price labels and dates for the landscape view.

#include <string>
#include <vector>

#include "tools/quote-server/price_model.h"
#include "tools/quote-server/quote_snapshot.h"

namespace brantel::quote_server {

// Sizes of the areas the viewer stretches them into, so they are not scaled.
constexpr int kSmallChartWidth = 200;
constexpr int kSmallChartHeight = 116;
constexpr int kLargeChartWidth = 800;
constexpr int kLargeChartHeight = 398;

struct LargeChart {
  std::string name;
  std::string code;
  std::string caption;      // period caption ("1개월")
  bool intraday = false;    // bars of minutes rather than sessions
  bool show_volume = true;  // rates and currencies have no volume pane
  int decimals = 0;
  std::vector<Bar> bars;    // oldest first
  int slots = 0;            // bar places across the chart (0: as many as bars);
                            // a session in progress leaves its later places empty
  // Moving averages per bar (daily charts); NaN where not defined.
  std::vector<double> average_short, average_long;
  Snapshot quote;           // the title's current price and change
};

// PNG bytes; empty when the picture could not be made.
std::string RenderSmallChart(const std::vector<Bar>& daily, int decimals);
std::string RenderLargeChart(const LargeChart& chart);

}  // namespace brantel::quote_server
