#include "tools/quote-server/chart_renderer.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "platform/gfx/device_context.h"
#include "platform/gfx/png_writer.h"
#include "tools/quote-server/quote_text.h"

namespace brantel::quote_server {

namespace {

// Dark chart palette; prices rise in red and fall in blue, as Korean
// quote screens show them.
constexpr COLORREF kBackground = RGB(12, 12, 12);
constexpr COLORREF kFrame = RGB(60, 60, 60);
constexpr COLORREF kGrid = RGB(40, 40, 40);
constexpr COLORREF kAxisText = RGB(150, 150, 150);
constexpr COLORREF kTitleText = RGB(240, 240, 240);
constexpr COLORREF kRise = RGB(238, 56, 56);
constexpr COLORREF kFall = RGB(52, 124, 255);
constexpr COLORREF kFlat = RGB(200, 200, 200);
constexpr COLORREF kAverageShort = RGB(255, 196, 0);
constexpr COLORREF kAverageLong = RGB(84, 204, 124);

COLORREF Mix(COLORREF a, COLORREF b, double t) {
  const auto ch = [&](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

COLORREF MoveColor(double change) { return change > 0 ? kRise : change < 0 ? kFall : kFlat; }

// Grid step of about `wanted` lines over `range`: 1, 2, 2.5 or 5 times a
// power of ten.
double NiceStep(double range, int wanted) {
  if (range <= 0) return 1;
  const double raw = range / wanted;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (raw <= m * power) return m * power;
  return 10 * power;
}

// Maps prices to pixel rows of a pane.
struct Scale {
  double low = 0, high = 1;
  int top = 0, bottom = 1;
  int Y(double v) const { return bottom - int(std::lround((v - low) / (high - low) * (bottom - top))); }
};

void Line(DeviceContext& dc, int x0, int y0, int x1, int y1, COLORREF color, int style = PS_SOLID) {
  dc.SelectPen({style, 1, color});
  dc.MoveTo(x0, y0);
  dc.LineTo(x1, y1);
  dc.SetPixel(x1, y1, color);  // LineTo leaves the end point out
}

void Text(DeviceContext& dc, const std::string& text, Rect r, unsigned format, COLORREF color, const Font& font) {
  dc.SelectFont(font);
  dc.SetTextColor(color);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(Widen(text), r, format | DT_SINGLELINE | DT_NOPREFIX);
}

int TextWidth(DeviceContext& dc, const std::string& text, const Font& font) {
  dc.SelectFont(font);
  return dc.GetTextExtent(Widen(text)).cx;
}

std::string ShortVolume(double v) {
  if (v >= 1e8) return FormatNumber(v / 1e6, 0) + "M";
  if (v >= 1e5) return FormatNumber(v / 1e3, 0) + "K";
  return FormatNumber(v, 0);
}

std::string Png(const Surface& s) {
  std::string bytes;
  return EncodePng(s, bytes) ? bytes : std::string();
}

// Label under bar `i`, or empty when no label belongs there.
std::string BarLabel(const LargeChart& c, size_t i) {
  const Bar& b = c.bars[i];
  const Bar* before = i > 0 ? &c.bars[i - 1] : nullptr;
  int y = 0, m = 0, d = 0;
  CivilFromDays(DayOfTradingIndex(b.index), y, m, d);
  char buf[16];
  if (c.intraday) {
    if (before && before->index != b.index) {  // a new session in a week chart
      std::snprintf(buf, sizeof buf, "%02d/%02d", m, d);
      return buf;
    }
    const int minute = kSessionOpenMinute + b.minute;
    const bool one_day = c.bars.front().index == c.bars.back().index;
    if (one_day && minute % 60 == 0) {
      std::snprintf(buf, sizeof buf, "%02d:00", minute / 60);
      return buf;
    }
    return {};
  }
  if (c.bars.size() > 60) {
    int py = 0, pm = 0, pd = 0;
    if (before) CivilFromDays(DayOfTradingIndex(before->index), py, pm, pd);
    if (before && pm != m) {
      std::snprintf(buf, sizeof buf, "%02d/%02d", y % 100, m);
      return buf;
    }
    return {};
  }
  if (i % 5 == 0) {
    std::snprintf(buf, sizeof buf, "%02d/%02d", m, d);
    return buf;
  }
  return {};
}

}  // namespace

std::string RenderSmallChart(const std::vector<Bar>& daily, int decimals) {
  Surface surface(kSmallChartWidth, kSmallChartHeight, ColorRefToPixel(kBackground));
  DeviceContext dc(surface);
  if (daily.size() < 2) return Png(surface);

  const Rect plot{4, 18, kSmallChartWidth - 4, kSmallChartHeight - 17};
  // The marks and their labels show the year's highest high and lowest low,
  // the same values as the 52-week summary beside the chart; the line
  // follows the closes inside that range.
  size_t high_at = 0, low_at = 0;
  for (size_t i = 0; i < daily.size(); ++i) {
    if (daily[i].high > daily[high_at].high) high_at = i;
    if (daily[i].low < daily[low_at].low) low_at = i;
  }
  Scale scale;
  scale.low = daily[low_at].low;
  scale.high = daily[high_at].high;
  const double pad = std::max((scale.high - scale.low) * 0.08, scale.high * 0.001);
  scale.low -= pad;
  scale.high += pad;
  scale.top = plot.top;
  scale.bottom = plot.bottom - 1;

  for (int k = 0; k <= 3; ++k) {
    const int y = plot.top + (plot.Height() - 1) * k / 3;
    Line(dc, plot.left, y, plot.right - 1, y, kGrid, PS_DOT);
  }
  const COLORREF color = MoveColor(daily.back().close - daily.front().close);
  const auto x_of = [&](size_t i) { return plot.left + int(std::lround(double(i) * (plot.Width() - 1) / double(daily.size() - 1))); };

  // The area under the line fades from the line colour into the background.
  for (int x = plot.left; x < plot.right; ++x) {
    const double pos = double(x - plot.left) / (plot.Width() - 1) * double(daily.size() - 1);
    const size_t i = std::min(size_t(pos), daily.size() - 2);
    const double f = pos - double(i);
    const int y = scale.Y(daily[i].close + (daily[i + 1].close - daily[i].close) * f);
    for (int yy = y; yy < plot.bottom; ++yy)
      dc.SetPixel(x, yy, Mix(kBackground, color, 0.30 * (1.0 - double(yy - y) / std::max(1, plot.bottom - y))));
  }
  for (size_t i = 1; i < daily.size(); ++i) {
    Line(dc, x_of(i - 1), scale.Y(daily[i - 1].close), x_of(i), scale.Y(daily[i].close), color);
    Line(dc, x_of(i - 1), scale.Y(daily[i - 1].close) - 1, x_of(i), scale.Y(daily[i].close) - 1, color);
  }
  // Marks at the year's highest high and lowest low.
  for (const auto& [at, price, mark] : {std::tuple{high_at, daily[high_at].high, kRise}, std::tuple{low_at, daily[low_at].low, kFall}}) {
    const Rect dot = Rect::FromSize(x_of(at) - 2, scale.Y(price) - 2, 5, 5);
    dc.FillSolid(dot, mark);
  }
  const Font small(kGothicFace, 12);
  Text(dc, "52주", {4, 1, 60, 16}, DT_LEFT | DT_VCENTER, kAxisText, small);
  Text(dc, "▲" + FormatNumber(daily[high_at].high, decimals), {60, 1, kSmallChartWidth - 4, 16}, DT_RIGHT | DT_VCENTER, kRise,
       small);
  Text(dc, "▼" + FormatNumber(daily[low_at].low, decimals), {60, kSmallChartHeight - 16, kSmallChartWidth - 4, kSmallChartHeight - 1},
       DT_RIGHT | DT_VCENTER, kFall, small);
  return Png(surface);
}

std::string RenderLargeChart(const LargeChart& c) {
  Surface surface(kLargeChartWidth, kLargeChartHeight, ColorRefToPixel(kBackground));
  DeviceContext dc(surface);
  const Font title_font(kGothicFace, 18, FW_BOLD);
  const Font label_font(kGothicFace, 14);
  const Font tag_font(kGothicFace, 13, FW_BOLD);

  // Title: name, code, period, then the quote in its change colour.
  int x = 10;
  Text(dc, c.name, {x, 2, 400, 30}, DT_LEFT | DT_VCENTER, kTitleText, title_font);
  x += TextWidth(dc, c.name, title_font) + 8;
  Text(dc, c.code, {x, 4, x + 120, 30}, DT_LEFT | DT_VCENTER, kAxisText, label_font);
  x += TextWidth(dc, c.code, label_font) + 10;
  const int tag_width = TextWidth(dc, c.caption, tag_font) + 14;
  dc.FillSolid({x, 8, x + tag_width, 25}, RGB(48, 48, 56));
  Text(dc, c.caption, {x, 8, x + tag_width, 25}, DT_CENTER | DT_VCENTER, RGB(220, 220, 230), tag_font);
  x += tag_width + 14;
  const double change = c.quote.Change();
  const COLORREF move = MoveColor(change);
  const std::string mark = change > 0 ? "▲" : change < 0 ? "▼" : "";
  std::string change_text = FormatNumber(std::fabs(change), c.decimals);
  std::string rate_text = FormatRate(std::fabs(c.quote.RatePercent()));
  const std::string quote_text = FormatNumber(c.quote.current, c.decimals) + "  " + mark + change_text + "  " + rate_text + "%";
  Text(dc, quote_text, {x, 2, 640, 30}, DT_LEFT | DT_VCENTER, move, title_font);
  if (!c.intraday) {
    Text(dc, "MA5", {650, 4, 690, 30}, DT_RIGHT | DT_VCENTER, kAverageShort, label_font);
    Text(dc, "MA20", {694, 4, 744, 30}, DT_RIGHT | DT_VCENTER, kAverageLong, label_font);
  }

  const Rect price_pane{8, 36, 724, c.show_volume ? 292 : 366};
  const Rect volume_pane = c.show_volume ? Rect{8, 300, 724, 366} : Rect{};
  dc.SelectPen({PS_SOLID, 1, kFrame});
  dc.FrameRect(price_pane.Inflate(1, 1));
  if (c.show_volume) dc.FrameRect(volume_pane.Inflate(1, 1));
  if (c.bars.empty()) return Png(surface);

  // Price scale over the bars and the averages.
  double low = c.bars.front().low, high = c.bars.front().high, max_volume = 1;
  size_t high_at = 0, low_at = 0;
  for (size_t i = 0; i < c.bars.size(); ++i) {
    if (c.bars[i].high > high) high = c.bars[i].high, high_at = i;
    if (c.bars[i].low < low) low = c.bars[i].low, low_at = i;
    max_volume = std::max(max_volume, c.bars[i].volume);
  }
  double view_low = low, view_high = high;
  for (const auto* series : {&c.average_short, &c.average_long})
    for (double v : *series)
      if (std::isfinite(v)) view_low = std::min(view_low, v), view_high = std::max(view_high, v);
  const double pad = std::max((view_high - view_low) * 0.1, view_high * 0.002);
  Scale scale{view_low - pad, view_high + pad, price_pane.top + 2, price_pane.bottom - 3};

  // Horizontal grid with price labels on the right axis.
  const double step = NiceStep(scale.high - scale.low, 6);
  for (double v = std::ceil(scale.low / step) * step; v <= scale.high; v += step) {
    const int y = scale.Y(v);
    Line(dc, price_pane.left, y, price_pane.right - 1, y, kGrid, PS_DOT);
    Text(dc, FormatNumber(v, c.decimals), {728, y - 9, 798, y + 9}, DT_LEFT | DT_VCENTER, kAxisText, label_font);
  }
  if (c.show_volume) {
    Text(dc, ShortVolume(max_volume), {728, volume_pane.top - 2, 798, volume_pane.top + 16}, DT_LEFT | DT_VCENTER,
         kAxisText, label_font);
    Text(dc, "거래량", {volume_pane.left + 4, volume_pane.top + 1, volume_pane.left + 80, volume_pane.top + 17},
         DT_LEFT | DT_VCENTER, kAxisText, label_font);
  }

  const size_t slots = std::max(c.bars.size(), size_t(std::max(c.slots, 0)));
  const double pitch = double(price_pane.Width()) / double(slots);
  const int body = std::max(1, int(pitch * 0.7));
  const auto center = [&](size_t i) { return price_pane.left + int((double(i) + 0.5) * pitch); };

  // Vertical grid and date labels, skipping labels that would overlap.
  int last_label_right = -100;
  for (size_t i = 0; i < c.bars.size(); ++i) {
    const std::string label = BarLabel(c, i);
    if (label.empty()) continue;
    const int cx = center(i);
    const int w = TextWidth(dc, label, label_font);
    if (cx - w / 2 < last_label_right + 8 || cx + w / 2 > price_pane.right) continue;
    Line(dc, cx, price_pane.top, cx, price_pane.bottom - 1, kGrid, PS_DOT);
    if (c.show_volume) Line(dc, cx, volume_pane.top, cx, volume_pane.bottom - 1, kGrid, PS_DOT);
    const int label_left = std::max(0, cx - w / 2 - 2);  // the first label may sit at the very edge
    Text(dc, label, {label_left, 370, label_left + w + 4, 392}, DT_CENTER | DT_VCENTER, kAxisText, label_font);
    last_label_right = cx + w / 2;
  }

  // Candles and volume bars.
  for (size_t i = 0; i < c.bars.size(); ++i) {
    const Bar& b = c.bars[i];
    const COLORREF color = b.close >= b.open ? kRise : kFall;
    const int cx = center(i);
    Line(dc, cx, scale.Y(b.high), cx, scale.Y(b.low), color);
    const int top = scale.Y(std::max(b.open, b.close));
    const int bottom = scale.Y(std::min(b.open, b.close));
    dc.FillSolid({cx - body / 2, top, cx - body / 2 + body, std::max(bottom, top + 1)}, color);
    if (!c.show_volume) continue;
    const int vh = int(std::lround(b.volume / max_volume * (volume_pane.Height() - 18)));
    dc.FillSolid({cx - body / 2, volume_pane.bottom - vh, cx - body / 2 + body, volume_pane.bottom},
                 Mix(kBackground, color, 0.75));
  }

  // Moving averages.
  for (const auto& [series, color] : {std::pair{&c.average_short, kAverageShort}, std::pair{&c.average_long, kAverageLong}}) {
    for (size_t i = 1; i < series->size() && i < c.bars.size(); ++i) {
      const double a = (*series)[i - 1], b = (*series)[i];
      if (std::isfinite(a) && std::isfinite(b)) Line(dc, center(i - 1), scale.Y(a), center(i), scale.Y(b), color);
    }
  }

  // Highest and lowest prices of the view, marked at their bars.
  const auto annotate = [&](size_t at, double value, bool above) {
    const std::string text = (above ? "최고 " : "최저 ") + FormatNumber(value, c.decimals);
    const int w = TextWidth(dc, text, label_font);
    const int cx = center(at);
    int left = cx + w + 8 < price_pane.right ? cx + 4 : cx - w - 4;
    left = std::max(left, price_pane.left + 2);
    const int y = scale.Y(value);
    const Rect r = above ? Rect{left, y - 16, left + w + 2, y} : Rect{left, y + 1, left + w + 2, y + 17};
    Text(dc, text, r, DT_LEFT | DT_VCENTER, above ? kRise : kFall, label_font);
  };
  annotate(high_at, high, true);
  annotate(low_at, low, false);

  // The current price: a dashed line and a tag on the axis.
  const int y = scale.Y(c.quote.current);
  Line(dc, price_pane.left, y, price_pane.right - 1, y, move, PS_DASH);
  dc.FillSolid({726, y - 9, 799, y + 9}, move);
  Text(dc, FormatNumber(c.quote.current, c.decimals), {729, y - 9, 799, y + 9}, DT_LEFT | DT_VCENTER, RGB(255, 255, 255),
       tag_font);
  return Png(surface);
}

}  // namespace brantel::quote_server
