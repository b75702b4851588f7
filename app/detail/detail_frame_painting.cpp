#include "app/detail/detail_frame_painting.h"

#include "app/detail/detail_rules.h"
#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"
#include "protocol/change_mark.h"

namespace brantel {

namespace {

constexpr unsigned kOneLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr int kFooterHeight = 40;

void Text(DeviceContext& dc, WideView text, const Rect& rect, COLORREF colour, int height, unsigned format) {
  dc.SelectFont(ViewerFont(height));
  dc.SetTextColor(colour);
  dc.DrawText(text, rect, format | kOneLine);
}

// The footer band with the logo and "Updated : " text, `top` its top.
void PaintFooter(DeviceContext& dc, int width, int top, const WideText& update_text, const ResourceLibraryRef& lib) {
  DrawResourcePicture(dc, 0, top, width, kFooterHeight, lib, 1019);
  DrawResourcePicture(dc, 3, top, 220, 40, lib, 1098);
  Text(dc, u"Updated : " + update_text, Rect{230, top, width - 50, top + kFooterHeight}, kUpdateTextColour, 20,
       DT_RIGHT);
}

void PaintButton(DeviceContext& dc, const DetailViewState& state, int button, uint32_t normal, uint32_t pressed,
                 const ResourceLibraryRef& lib) {
  const bool is_pressed = state.pressed_button == button;
  const auto picture = lib ? lib->DecodedPicture(2, is_pressed ? pressed : normal) : nullptr;
  if (!picture || picture->empty()) return;
  const Rect r = LandscapeButtonRect(button);
  const uint8_t alpha = state.emphasised || is_pressed ? 210 : 70;
  dc.AlphaBlend(r.left, r.top, r.Width(), r.Height(), *picture, 0, 0, picture->width(), picture->height(),
                BlendFunction{alpha, AC_SRC_ALPHA});
}

}  // namespace

NamePlacement MeasureNamePlacement(WideView name, int band_width) {
  const WideText shown = NameAsShown(name);
  return PlaceName(ViewerFont(32).MeasureText(shown).cx, ViewerFont(24).MeasureText(shown).cx, band_width);
}

void PaintPortraitFrame(DeviceContext& dc, Size size, const DetailViewState& state, const ResourceLibraryRef& lib) {
  const int w = size.cx, h = size.cy;
  dc.FillSolid(Rect{0, 0, w, h}, kDetailBackground);
  dc.SetBkMode(TRANSPARENT);
  DrawResourcePicture(dc, 0, 0, w, 75, lib, 1034);
  const NamePlacement place = MeasureNamePlacement(state.record.codename, w);
  Text(dc, NameAsShown(state.record.codename), place.rect, 0xFFFFFF, place.font_height, DT_CENTER | DT_END_ELLIPSIS);
  DrawResourcePicture(dc, kStarRect.left, kStarRect.top, 40, 40, lib, state.in_mypage ? 1057 : 1056);
  PaintFooter(dc, w, h - 92, state.update_text, lib);
}

void PaintLandscapeFrame(DeviceContext& dc, Size size, const DetailViewState& state, const Surface& large_chart,
                         const ResourceLibraryRef& lib) {
  const int w = size.cx, h = size.cy;
  const StockDetailRecord& r = state.record;
  dc.FillSolid(Rect{0, 0, w, h}, kDetailBackground);
  dc.SetBkMode(TRANSPARENT);
  DrawResourcePicture(dc, 0, 0, w, 42, lib, 1043);
  Text(dc, NameAsShown(r.codename), Rect{10, 0, 206, 42}, kDetailNameColour, 24, DT_LEFT | DT_END_ELLIPSIS);
  Text(dc, u"현재가 : " + r.current_price, Rect{220, 0, 410, 42}, 0xFFFFFF, 24, DT_LEFT);
  Text(dc, u"등락 : ", Rect{423, 0, 483, 42}, 0xFFFFFF, 24, DT_LEFT);
  WideText rate = r.rate, sign, marker;
  uint32_t colour = kChangeColourFlat;
  FormatChangeMark(rate, sign, marker, colour);
  Text(dc, sign, Rect{484, 0, 510, 42}, colour, 24, DT_LEFT);
  Text(dc, WithoutMinus(r.daebi), Rect{510, 0, 631, 42}, colour, 24, DT_LEFT);
  Text(dc, u"등락률 : ", Rect{611, 0, 694, 42}, 0xFFFFFF, 24, DT_RIGHT);
  if (!r.rate.empty()) Text(dc, WithoutMinus(r.rate), Rect{694, 0, 800, 42}, colour, 24, DT_LEFT);
  if (!large_chart.empty()) {
    dc.SetStretchBltMode(STRETCH_SMOOTH);
    dc.DrawPicture(large_chart, Rect{0, 42, w, h - kFooterHeight});
  }
  PaintFooter(dc, w, h - kFooterHeight, state.update_text, lib);
  PaintButton(dc, state, kRefreshButton, 1049, 1050, lib);
  PaintButton(dc, state, kPeriodMenuButton, 1047, 1048, lib);
}

Point SpinnerPosition(Size size, bool landscape) {
  return landscape ? Point{size.cx - 40 - 7, size.cy - 35} : Point{size.cx - 40, size.cy - 87};
}

}  // namespace brantel
