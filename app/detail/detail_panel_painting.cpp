#include "app/detail/detail_panel_painting.h"

#include <algorithm>

#include "app/detail/detail_rules.h"
#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"
#include "platform/gfx/font.h"
#include "protocol/change_mark.h"

namespace brantel {

namespace {

constexpr unsigned kOneLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kLabelGrey = 0x888888;
constexpr COLORREF kPriceGreen = 0x2FFF6F;
constexpr COLORREF kSeparator = 0x504744;
constexpr int kThumbWidth = 15;

const Font& PriceFont() {
  static const Font font(kGothicFace, 48, FW_NORMAL);
  return font;
}

void Text(DeviceContext& dc, WideView text, const Rect& rect, COLORREF colour, const Font& font, unsigned format) {
  dc.SelectFont(font);
  dc.SetTextColor(colour);
  dc.DrawText(text, rect, format | kOneLine);
}

void Caption(DeviceContext& dc, WideView text, int band_top, int width, const ResourceLibraryRef& lib) {
  DrawResourcePicture(dc, 0, band_top, width, 42, lib, 1018);
  Text(dc, text, Rect{10, band_top, 210, band_top + 42}, kWhite, ViewerFont(24), DT_LEFT);
}

void LabelAndValue(DeviceContext& dc, WideView label, WideView value, int top, int bottom) {
  if (!label.empty()) Text(dc, label, Rect{262, top, 346, bottom}, kLabelGrey, ViewerFont(18), DT_LEFT);
  Text(dc, value, Rect{353, top, 473, bottom}, kWhite, ViewerFont(22), DT_RIGHT);
}

struct Change {
  WideText sign;
  uint32_t colour = kChangeColourFlat;
};

Change ChangeOf(WideView rate) {
  WideText value(rate), marker;
  Change c;
  FormatChangeMark(value, c.sign, marker, c.colour);
  return c;
}

// A value only a detail answer brings: empty until one came.
WideView Known(const WideText& value, bool known) { return known ? WideView(value) : WideView(); }

void PaintQuote(DeviceContext& dc, int y, int width, const StockDetailRecord& r, bool known,
                const ResourceLibraryRef& lib) {
  Caption(dc, u"현재 정보 (지연)", y, width, lib);
  DrawResourcePicture(dc, 15, y + 57, 217, 110, lib, 1044);
  Text(dc, r.current_price, Rect{15, y + 77, 232, y + 123}, kPriceGreen, PriceFont(), DT_CENTER);
  const Change change = ChangeOf(r.rate);
  const Font& font22 = ViewerFont(22);
  Text(dc, change.sign, Rect{19, y + 133, 45, y + 159}, change.colour, font22, DT_CENTER);
  Text(dc, WithoutMinus(r.daebi), Rect{45, y + 133, 123, y + 159}, change.colour, font22, DT_RIGHT);
  Text(dc, WithoutMinus(r.rate), Rect{123, y + 133, 223, y + 159}, change.colour, font22, DT_RIGHT);
  LabelAndValue(dc, u"고가", Known(r.high, known), y + 52, y + 74);
  LabelAndValue(dc, u"저가", Known(r.low, known), y + 84, y + 106);
  LabelAndValue(dc, u"거래량", Known(r.trade_amount, known), y + 116, y + 138);
  LabelAndValue(dc, u"시간", r.date, y + 148, y + 170);
}

void PaintSummary(DeviceContext& dc, int y, int width, const StockDetailRecord& r, bool known, const Surface* chart,
                  const ResourceLibraryRef& lib) {
  Caption(dc, u"52주 요약", y + 182, width, lib);
  DrawResourcePicture(dc, 0, y + 224, width, 170, lib, 1045);
  DrawResourcePicture(dc, 15, y + 232, 216, 152, lib, 1046);
  if (chart && !chart->empty()) {
    dc.SetStretchBltMode(STRETCH_SMOOTH);
    dc.DrawPicture(*chart, kSmallChartRect.Offset(0, y));
  }
  LabelAndValue(dc, u"52주 최고", Known(r.high52, known), y + 232, y + 254);
  LabelAndValue(dc, u"", Known(r.high52_date, known), y + 264, y + 286);
  LabelAndValue(dc, u"52주 최저", Known(r.low52, known), y + 296, y + 318);
  LabelAndValue(dc, u"", Known(r.low52_date, known), y + 328, y + 350);
}

void PaintDailyRow(DeviceContext& dc, int top, int width, const StockRecord& row, const ResourceLibraryRef& lib) {
  const int bottom = top + 60;
  DrawResourcePicture(dc, 0, top, width, 60, lib, 1096);
  const Font& font = ViewerFont(22);
  const Change change = ChangeOf(row.rate);
  Text(dc, DailyDateCell(row.date), Rect{10, top, 80, bottom}, kWhite, font, DT_LEFT);
  Text(dc, row.current_price, Rect{80, top, 204, bottom}, kWhite, font, DT_RIGHT);
  Text(dc, change.sign, Rect{224, top, 250, bottom}, change.colour, font, DT_CENTER);
  Text(dc, WithoutMinus(row.daebi), Rect{250, top, 350, bottom}, change.colour, font, DT_RIGHT);
  Text(dc, WithoutMinus(row.rate), Rect{350, top, width - 10, bottom}, change.colour, font, DT_RIGHT);
  dc.SelectPen(Pen{PS_SOLID, 1, kSeparator});
  dc.MoveTo(0, bottom);
  dc.LineTo(width, bottom);
}

void PaintThumb(DeviceContext& dc, Size size, int scroll, int content, const PanelThumb& thumb,
                const ResourceLibraryRef& lib) {
  if (thumb.length <= 0 || thumb.hidden || !lib) return;
  const int view = size.cy;
  int top = int(int64_t(scroll) * (view - thumb.length) / std::max(content - view, 1));
  top = std::clamp(top, 0, view - 5);
  const int bottom = std::clamp(top + thumb.length, 5, view);
  Surface buffer(kThumbWidth, std::max(bottom - top, 1), 0);
  DeviceContext thumb_dc(buffer);
  DrawResourcePicture(thumb_dc, 0, 0, kThumbWidth, 8, lib, 1026);
  DrawResourcePicture(thumb_dc, 0, 8, kThumbWidth, std::max(buffer.height() - 16, 0), lib, 1028);
  DrawResourcePicture(thumb_dc, 0, buffer.height() - 8, kThumbWidth, 8, lib, 1027);
  dc.AlphaBlend(size.cx - kThumbWidth, top, kThumbWidth, buffer.height(), buffer, 0, 0, kThumbWidth, buffer.height(),
                BlendFunction{uint8_t(std::clamp(thumb.alpha, 0, 255)), AC_SRC_ALPHA});
}

}  // namespace

void PaintDetailPanel(DeviceContext& dc, Size size, int scroll, int content_height, const DetailPanelContent& content,
                      const PanelThumb& thumb, const ResourceLibraryRef& lib) {
  const int width = size.cx;
  dc.FillSolid(Rect{0, 0, width, size.cy}, 0x0C0C0C);
  dc.SetBkMode(TRANSPARENT);
  const int y = -scroll;
  static const StockDetailRecord kNoRecord;
  const StockDetailRecord& record = content.record ? *content.record : kNoRecord;
  if (y + 394 > 0) {
    PaintQuote(dc, y, width, record, content.full_quote, lib);
    PaintSummary(dc, y, width, record, content.full_quote, content.small_chart, lib);
  }
  Caption(dc, u"일별 시세", y + 394, width, lib);
  if (content.daily) {
    // Only the rows in view are drawn.
    const int first = std::max(0, (scroll - 436) / kDailyRowPitch);
    for (size_t i = size_t(first); i < content.daily->size(); ++i) {
      const int top = y + 436 + int(i) * kDailyRowPitch;
      if (top >= size.cy) break;
      if (top + kDailyRowPitch <= 0) continue;
      PaintDailyRow(dc, top, width, (*content.daily)[i], lib);
    }
  }
  PaintThumb(dc, size, scroll, content_height, thumb, lib);
}

}  // namespace brantel
