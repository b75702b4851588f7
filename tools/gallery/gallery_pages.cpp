#include "tools/gallery/gallery_pages.h"

#include "tools/gallery/gallery_list.h"

#include <deque>

#include "platform/ui/edit_model.h"
#include "platform/ui/messages.h"
#include "tools/gallery/gallery_assets.h"
#include "controls/update_bar_drawing.h"
#include "tools/gallery/gallery_controls.h"

namespace brantel::gallery {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(0x99, 0x99, 0x99);
constexpr COLORREF kFrame = RGB(0x58, 0x58, 0x58);
constexpr COLORREF kBackground = RGB(0x0C, 0x0C, 0x0C);
constexpr COLORREF kRed = RGB(255, 0, 0);        // rising, as the screens draw it
constexpr COLORREF kBlue = RGB(0, 0x5A, 0xFF);   // falling

const Font& GothicFont(int height, int weight = FW_NORMAL) {
  // A handful of fonts, kept for the life of the program.
  static std::deque<Font> fonts;  // references stay valid as it grows
  for (const Font& f : fonts)
    if (f.height() == height && f.weight() == weight) return f;
  fonts.emplace_back(kGothicFace, height, weight);
  return fonts.back();
}

void Text(DeviceContext& dc, WideView text, Rect r, unsigned format, int height, COLORREF colour = kWhite,
          int weight = FW_NORMAL) {
  dc.SelectFont(GothicFont(height, weight));
  dc.SetTextColor(colour);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(text, r, format);
}

void Label(DeviceContext& dc, WideView text, int x, int y, int width = 460) {
  Text(dc, text, Rect{x, y, x + width, y + 18}, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX, 18, kGrey);
}

void Frame(DeviceContext& dc, const Rect& r, COLORREF colour = kFrame) {
  dc.SelectPen(Pen{PS_SOLID, 1, colour});
  dc.FrameRect(r.Inflate(1, 1));
}

// Grey and dark stripes to show what blends and keys let through.
void Stripes(DeviceContext& dc, const Rect& r) {
  for (int x = r.left; x < r.right; x += 8)
    dc.FillSolid(Rect{x, r.top, std::min(x + 4, r.right), r.bottom}, RGB(0x60, 0x60, 0x60));
  for (int x = r.left + 4; x < r.right; x += 8)
    dc.FillSolid(Rect{x, r.top, std::min(x + 4, r.right), r.bottom}, RGB(0x20, 0x20, 0x40));
}

void Button(DeviceContext& dc, const Rect& r, WideView caption, bool pressed) {
  dc.FillSolid(r, pressed ? RGB(0xFF, 0xC8, 0x34) : RGB(0x3A, 0x3A, 0x3A));
  Frame(dc, r, RGB(0x80, 0x80, 0x80));
  Text(dc, caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, pressed ? 32 : 25, pressed ? RGB(0, 0, 0) : kWhite,
       pressed ? FW_HEAVY : FW_BOLD);
}

}  // namespace

WideText PageTitle(int page) {
  switch (page) {
    case kTextSmall: return u"글꼴 18–30";
    case kTextLarge: return u"글꼴 32–48";
    case kDrawText: return u"DrawText";
    case kDrawing: return u"선, 복사, 투명색, 알파";
    case kDialog: return u"대화 상자";
    case kInput: return u"입력";
    case kControls: return u"탭, 갱신 표시줄";
    case kList: return u"목록 3,000행";
    case kEdit: return u"편집";
    default: return u"";
  }
}

void PaintHeader(DeviceContext& dc, int page) {
  dc.FillSolid(Rect{0, 0, kPageWidth, kHeaderHeight}, RGB(0x30, 0x30, 0x30));
  dc.SelectPen(Pen{PS_SOLID, 1, kFrame});
  dc.MoveTo(0, kHeaderHeight - 1);
  dc.LineTo(kPageWidth, kHeaderHeight - 1);
  Text(dc, PageTitle(page), Rect{60, 0, 420, kHeaderHeight}, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, 25,
       kWhite, FW_BOLD);
  Text(dc, u"◀", Rect{0, 0, 60, kHeaderHeight}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 28,
       page > 0 ? kWhite : kFrame);
  Text(dc, u"▶", Rect{420, 0, 480, kHeaderHeight}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 28,
       page + 1 < kPageCount ? kWhite : kFrame);
  Text(dc, FormatText(u"%d/%d", page + 1, int(kPageCount)), Rect{380, 0, 424, kHeaderHeight},
       DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 18, kGrey);
}

void PaintTextPage(DeviceContext& dc, bool large) {
  static const int kSmall[] = {18, 20, 22, 24, 25, 28, 30};
  static const int kLarge[] = {32, 34, 36, 40, 42, 48};
  const int* heights = large ? kLarge : kSmall;
  const int count = large ? 6 : 7;
  int y = kHeaderHeight + 8;
  for (int i = 0; i < count; ++i) {
    const int h = heights[i];
    // Weight 900 where the screens use it (tab strip 32) and at the ends.
    const bool heavy = !large || h == 32 || h == 48;
    for (int weight : {FW_NORMAL, FW_BOLD, FW_HEAVY}) {
      if (weight == FW_HEAVY && !heavy) continue;
      const WideText line = FormatText(u"%d·%d 삼성전자 Samsung 1,234 ▲▼", h, weight);
      Text(dc, line, Rect{8, y, 472, y + h}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, h, kWhite, weight);
      y += h;
    }
    y += large ? 4 : 3;
  }
}

void PaintDrawTextPage(DeviceContext& dc) {
  int y = kHeaderHeight + 6;
  // Horizontal alignment on one vertically centred line.
  const struct {
    unsigned flags;
    const char16_t* name;
    const char16_t* text;
  } aligned[] = {{DT_LEFT, u"DT_LEFT | DT_VCENTER | DT_SINGLELINE", u"왼쪽 Left"},
                 {DT_CENTER, u"DT_CENTER | DT_VCENTER | DT_SINGLELINE", u"가운데 Centre"},
                 {DT_RIGHT, u"DT_RIGHT | DT_VCENTER | DT_SINGLELINE", u"오른쪽 Right"}};
  for (const auto& a : aligned) {
    Label(dc, a.name, 10, y);
    const Rect box{10, y + 20, 470, y + 58};
    Frame(dc, box);
    Text(dc, a.text, box, a.flags | DT_VCENTER | DT_SINGLELINE, 24);
    y += 62;
  }
  // Top and bottom of a tall single line.
  Label(dc, u"DT_TOP, DT_BOTTOM (DT_SINGLELINE)", 10, y);
  Rect top{10, y + 20, 235, y + 70}, bottom{245, y + 20, 470, y + 70};
  Frame(dc, top);
  Frame(dc, bottom);
  Text(dc, u"위 Top", top, DT_SINGLELINE | DT_CENTER, 24);
  Text(dc, u"아래 Bottom", bottom, DT_SINGLELINE | DT_CENTER | DT_BOTTOM, 24);
  y += 76;
  // Ellipses.
  Label(dc, u"DT_END_ELLIPSIS", 10, y, 225);
  Label(dc, u"0x42010 / 0x42011 / 0x42012", 245, y, 225);
  const Rect end{10, y + 20, 235, y + 58};
  Frame(dc, end);
  Text(dc, u"삼성전자우선주 Samsung Electronics", end, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, 24);
  const unsigned cells[] = {0x42010, 0x42011, 0x42012};
  for (int i = 0; i < 3; ++i) {
    const Rect cell{245, y + 20 + i * 54, 470, y + 70 + i * 54};
    Frame(dc, cell);
    Text(dc, u"한국전력공사 Korea Electric Power Corporation", cell, cells[i], 22);
  }
  // Prefix characters beside the word ellipsis column.
  Label(dc, u"\"S&&P\", \"&File\", DT_NOPREFIX", 10, y + 64, 225);
  const Rect p1{10, y + 84, 235, y + 118}, p2{10, y + 124, 235, y + 158}, p3{10, y + 164, 235, y + 198};
  Frame(dc, p1);
  Frame(dc, p2);
  Frame(dc, p3);
  Text(dc, u"S&&P 500 지수", p1, DT_SINGLELINE | DT_VCENTER, 24);
  Text(dc, u"&File 파일", p2, DT_SINGLELINE | DT_VCENTER, 24);
  Text(dc, u"S&&P 500 지수", p3, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, 24);
  y += 210;
  // Word wrap over several lines, and the rectangle DT_CALCRECT gives it.
  Label(dc, u"DT_WORDBREAK, DT_CALCRECT (yellow)", 10, y);
  const WideText paragraph = u"네트워크 연결이 원활하지 않습니다. 잠시 후 다시 시도해 주세요. Please try again later.";
  Rect calc{10, y + 20, 470, y + 20};
  dc.SelectFont(GothicFont(22));
  dc.DrawText(paragraph, calc, DT_WORDBREAK | DT_CALCRECT);
  Frame(dc, calc, RGB(0xFF, 0xC8, 0x34));
  Text(dc, paragraph, Rect{10, y + 20, 470, y + 120}, DT_WORDBREAK, 22);
  y += 20 + calc.Height() + 8;
  // Opaque background and a quote line with its change marks in colour.
  Label(dc, u"OPAQUE, 한 줄에 한글과 Latin", 10, y);
  dc.SelectFont(GothicFont(24));
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(RGB(0x20, 0x40, 0x90));
  dc.SetTextColor(kWhite);
  dc.DrawText(u"불투명 배경 Opaque", Rect{10, y + 20, 235, y + 50}, DT_SINGLELINE | DT_VCENTER);
  dc.SetBkMode(TRANSPARENT);
  Text(dc, u"코스피 2,500", Rect{245, y + 20, 385, y + 50}, DT_SINGLELINE | DT_VCENTER, 22);
  Text(dc, u"▲ 0.50%", Rect{385, y + 20, 470, y + 50}, DT_SINGLELINE | DT_VCENTER | DT_RIGHT, 22, kRed);
}

void PaintDrawingPage(DeviceContext& dc) {
  const Assets& assets = GetAssets();
  int y = kHeaderHeight + 6;
  // Lines: a fan of diagonals, pen widths, dashes and dots, a frame.
  Label(dc, u"MoveTo / LineTo: 1, 2, 3, 5 px, PS_DASH, PS_DOT", 10, y);
  const Point hub{70, y + 110};
  for (int i = 0; i <= 12; ++i) {
    dc.SelectPen(Pen{PS_SOLID, 1, RGB(uint8_t(255 - i * 15), uint8_t(80 + i * 14), uint8_t(i * 20))});
    dc.MoveTo(hub.x, hub.y);
    dc.LineTo(hub.x - 60 + i * 10, y + 24);
  }
  const int widths[] = {1, 2, 3, 5};
  for (int i = 0; i < 4; ++i) {
    dc.SelectPen(Pen{PS_SOLID, widths[i], kWhite});
    dc.MoveTo(150, y + 30 + i * 14);
    dc.LineTo(300, y + 30 + i * 14);
  }
  dc.SelectPen(Pen{PS_DASH, 1, RGB(0x2F, 0xFF, 0x6F)});
  dc.MoveTo(150, y + 92);
  dc.LineTo(300, y + 92);
  dc.SelectPen(Pen{PS_DOT, 1, RGB(0x2F, 0xFF, 0x6F)});
  dc.MoveTo(150, y + 102);
  dc.LineTo(300, y + 102);
  dc.SelectPen(Pen{PS_SOLID, 3, RGB(0xFF, 0xC8, 0x34)});
  dc.FrameRect(Rect{320, y + 26, 470, y + 112});
  dc.SelectPen(Pen{PS_SOLID, 1, RGB(0x94, 0xFF, 0xEF)});
  dc.MoveTo(330, y + 100);
  dc.LineTo(460, y + 36);
  y += 124;

  // Copies and stretches.
  Label(dc, u"BitBlt, StretchBlt: COLORONCOLOR and HALFTONE", 10, y);
  dc.BitBlt(10, y + 24, 16, 16, assets.checker, 0, 0);
  dc.BitBlt(34, y + 24, 8, 8, assets.gradient, 0, 0);
  dc.StretchBlt(60, y + 24, 96, 96, assets.gradient, 0, 0, 8, 8);
  dc.SetStretchBltMode(HALFTONE);
  dc.StretchBlt(166, y + 24, 96, 96, assets.gradient, 0, 0, 8, 8);
  dc.StretchBlt(272, y + 24, 96, 96, assets.checker, 0, 0, 16, 16);
  dc.SetStretchBltMode(COLORONCOLOR);
  dc.StretchBlt(378, y + 24, 96, 96, assets.checker, 0, 0, 16, 16);
  y += 128;

  // Colour keys.
  Label(dc, u"TransparentBlt with magenta 0xFF00FF as the key", 10, y);
  Stripes(dc, Rect{10, y + 22, 470, y + 74});
  dc.BitBlt(20, y + 40, 16, 16, assets.checker, 0, 0);
  dc.TransparentBlt(60, y + 40, 16, 16, assets.checker, 0, 0, 16, 16, RGB(255, 0, 255));
  dc.TransparentBlt(100, y + 24, 48, 48, assets.checker, 0, 0, 16, 16, RGB(255, 0, 255));
  dc.StretchBlt(170, y + 24, 48, 48, assets.checker, 0, 0, 16, 16);
  Text(dc, u"복사 / 투명색 / 확대", Rect{230, y + 22, 470, y + 74}, DT_SINGLELINE | DT_VCENTER, 22);
  y += 84;

  // Constant alpha.
  Label(dc, u"AlphaBlend, constant alpha 0, 64, 128, 191, 255", 10, y);
  Surface layer(80, 50, 0xFFFFC834u);
  for (int i = 0; i < 5; ++i) {
    const int x = 10 + i * 92;
    Stripes(dc, Rect{x, y + 22, x + 86, y + 78});
    static const uint8_t kAlpha[] = {0, 64, 128, 191, 255};
    dc.AlphaBlend(x + 3, y + 25, 80, 50, layer, 0, 0, 80, 50, BlendFunction{kAlpha[i], 0});
  }
  y += 88;

  // Per-pixel alpha: the decoded PNG star, and the GIF's frames.
  Label(dc, u"PNG with alpha: own size, ×2 smooth, constant 128", 10, y);
  Stripes(dc, Rect{10, y + 22, 470, y + 112});
  if (assets.star_png.empty()) {
    Text(dc, u"PNG decoding failed", Rect{20, y + 22, 470, y + 112}, DT_SINGLELINE | DT_VCENTER, 24, kRed);
  } else {
    dc.DrawPicture(assets.star_png, Rect::FromSize(30, y + 45, 40, 40));
    dc.SetStretchBltMode(HALFTONE);
    dc.DrawPicture(assets.star_png, Rect::FromSize(100, y + 27, 80, 80));
    dc.AlphaBlend(210, y + 45, 40, 40, assets.star_png, 0, 0, 40, 40, BlendFunction{128, AC_SRC_ALPHA});
    dc.SetStretchBltMode(COLORONCOLOR);
  }
  y += 120;
  Label(dc, u"GIF: eight frames, first frame ×2", 10, y);
  dc.FillSolid(Rect{10, y + 22, 470, y + 90}, RGB(0, 0, 0));
  if (assets.gif_frames.empty()) {
    Text(dc, u"GIF decoding failed", Rect{20, y + 22, 470, y + 90}, DT_SINGLELINE | DT_VCENTER, 24, kRed);
  } else {
    for (size_t i = 0; i < assets.gif_frames.size(); ++i)
      dc.DrawPicture(assets.gif_frames[i], Rect::FromSize(16 + int(i) * 36, y + 41, 30, 30));
    dc.DrawPicture(assets.gif_frames[0], Rect::FromSize(320, y + 26, 60, 60));
  }
}

void PaintDialogPage(DeviceContext& dc, bool pressed) {
  Text(dc, u"메시지 상자는 화면을 어둡게 복사한 위에 그려집니다.", Rect{20, 80, 460, 200}, DT_WORDBREAK | DT_CENTER, 28);
  Button(dc, kOpenDialogButton, u"열기", pressed);
  // Something colourful for the dimming to darken.
  const Assets& assets = GetAssets();
  for (int i = 0; i < 6; ++i) dc.DrawPicture(assets.star_png, Rect::FromSize(40 + i * 70, 450, 40, 40));
  Stripes(dc, Rect{20, 520, 460, 560});
  Text(dc, u"현재가 1,234,567 ▲", Rect{20, 580, 460, 630}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 36,
       RGB(0x2F, 0xFF, 0x6F), FW_BOLD);
}

Rect MessageBoxRect() {
  // One line of text: 115 + 123 + 48 - 6 high, centred in the page.
  const int height = 115 + 123 + 48 - 6;
  const int top = (kPageHeight - height) / 2;
  return Rect{18, top, 463, top + height};
}

Rect MessageBoxButton(int index) {
  const Rect box = MessageBoxRect();
  const int left = index == 0 ? box.left + 26 : box.left + 232;
  return Rect{left, box.bottom - 90, left + 187, box.bottom - 26};
}

void PaintDimmedBackground(DeviceContext& dc) {
  dc.BlendSolid(Rect{0, 0, kPageWidth, kPageHeight}, RGB(0, 0, 0), 210);
}

void PaintMessageBox(DeviceContext& dc, int pressed) {
  const Rect box = MessageBoxRect();
  dc.FillSolid(box, RGB(0x26, 0x26, 0x26));
  Frame(dc, box, RGB(0x80, 0x80, 0x80));
  dc.FillSolid(Rect{box.left, box.top, box.right, box.top + 65}, RGB(0x3A, 0x3A, 0x3A));
  Text(dc, u"알림", Rect{box.left, box.top, box.right, box.top + 65}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 42,
       kWhite, FW_BOLD);
  Text(dc, u"MyPage에 추가할까요?", Rect{box.left + 26, box.top + 115, box.left + 419, box.top + 157},
       DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, 36);
  Button(dc, MessageBoxButton(0), u"예", pressed == 0);
  Button(dc, MessageBoxButton(1), u"아니오", pressed == 1);
}

void PaintInputPage(DeviceContext& dc, const InputEcho& echo) {
  Label(dc, u"손가락 (마우스, 터치)", 10, kHeaderHeight + 6);
  const Rect pad{10, kHeaderHeight + 26, 470, kHeaderHeight + 386};
  dc.FillSolid(pad, RGB(0x18, 0x18, 0x18));
  Frame(dc, pad);
  if (!echo.trail.empty()) {
    dc.SetClipRect(pad);
    dc.SelectPen(Pen{PS_SOLID, 3, RGB(0xFF, 0xC8, 0x34)});
    dc.MoveTo(echo.trail.front().x, echo.trail.front().y);
    for (const Point& p : echo.trail) dc.LineTo(p.x, p.y);
    dc.FillSolid(Rect::FromSize(echo.trail.back().x - 4, echo.trail.back().y - 4, 9, 9), kRed);
    dc.ResetClip();
  }
  int y = pad.bottom + 8;
  Text(dc, echo.pointer.empty() ? WideText(u"-") : echo.pointer, Rect{10, y, 470, y + 30},
       DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, 22);
  y += 40;
  Label(dc, u"키", 10, y);
  Text(dc, echo.keys.empty() ? WideText(u"-") : echo.keys, Rect{10, y + 20, 470, y + 50},
       DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS, 22);
  y += 60;
  Label(dc, u"글자 (WM_CHAR) / 조합 중 (IME)", 10, y);
  const Rect typed{10, y + 20, 470, y + 110};
  Frame(dc, typed);
  WideText shown = echo.typed;
  Text(dc, shown + echo.composing, typed, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, 30);
  if (!echo.composing.empty()) {
    // Underline the composition the way an input method marks it.
    dc.SelectFont(GothicFont(30));
    Rect calc = typed;
    dc.DrawText(shown, calc, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT);
    const int lines = std::max(1, calc.Height() / 30);
    const int x = typed.left + dc.GetTextExtent(shown).cx;
    if (lines == 1 && x < typed.right) {
      const int w = dc.GetTextExtent(echo.composing).cx;
      dc.FillSolid(Rect{x, typed.top + 31, std::min(x + w, typed.right), typed.top + 33}, RGB(0x94, 0xFF, 0xEF));
    }
  }
}

void PaintControlsPage(DeviceContext& dc) {
  Label(dc, u"탭: 누르면 WM_TAB_SELECTED (선택된 탭은 알리지 않음)", 10, kTabBarRect.top - 26);
  DrawMainTabBar(dc);
  Label(dc, u"갱신 표시줄: 갱신 중 (100 ms마다 다음 그림)", 10, kUpdateBarRect.top - 26);
  DrawGalleryUpdateBar(dc, kUpdateBarRect, 2);
  Label(dc, u"갱신 표시줄: 쉬는 중 (검은 사각형)", 10, kIdleUpdateBarRect.top - 26);
  DrawGalleryUpdateBar(dc, kIdleUpdateBarRect, kUpdateBarIdleFrame);
}

const std::vector<EditSample>& EditSamples() {
  // The search screen's colours (text 0x666666 on 0xF2F2F2, hint 0xC3C3C3).
  const EditColors search{RGB(0x66, 0x66, 0x66), RGB(0xF2, 0xF2, 0xF2), Brush{RGB(0xF2, 0xF2, 0xF2)}};
  EditColors hint = search;
  hint.text = 0xC3C3C3;
  static const std::vector<EditSample> samples = {
      {101, Rect{20, kHeaderHeight + 36, 460, kHeaderHeight + 76}, 0, 24, u"삼성전", 3, 3, u'자', search, true},
      {102, Rect{20, kHeaderHeight + 126, 460, kHeaderHeight + 166}, 0, 24, u"종목명 또는 코드 입력", 0, 0, 0, hint,
       false},
      {103, Rect{20, kHeaderHeight + 216, 413, kHeaderHeight + 216 + 4 * 36}, ES_MULTILINE, 36,
       u"최신 데이터를 받지 못했습니다. 잠시 후 다시 시도해 주십시오.", 7, 14, 0,
       EditColors{RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF), Brush{RGB(0xFF, 0xFF, 0xFF)}}, true},
  };
  return samples;
}

const Font& EditSampleFont(const EditSample& sample) { return GothicFont(sample.font_height); }

void PaintEditPage(DeviceContext& dc) {
  const char16_t* labels[] = {u"한 줄, 조합 중 (IME): 자", u"힌트 (회색 글자)", u"여러 줄, 너비 393, 36 픽셀, 선택"};
  for (const EditSample& sample : EditSamples()) {
    Label(dc, labels[sample.id - 101], sample.rect.left, sample.rect.top - 26);
    Frame(dc, sample.rect);
    EditModel model(sample.style & ES_MULTILINE);
    model.SetFont(EditSampleFont(sample));
    model.SetView(sample.rect.Width(), sample.rect.Height());
    model.SetText(sample.text);
    model.SetSelection(sample.sel_start, sample.sel_end);
    if (sample.composing) model.SetComposition(WideText(1, sample.composing));
    model.ScrollCaretIntoView();
    const Point origin = dc.origin();
    dc.SetOrigin(Point{origin.x + sample.rect.left, origin.y + sample.rect.top});
    const Rect client{0, 0, sample.rect.Width(), sample.rect.Height()};
    dc.SetClipRect(client);
    PaintEdit(dc, client, model, EditSampleFont(sample), sample.colors, sample.focused, true);
    dc.ResetClip();
    dc.SetOrigin(origin);
  }
}

void PaintPage(DeviceContext& dc, int page, const InputEcho& echo, bool dialog_open, bool button_pressed) {
  dc.FillSolid(Rect{0, 0, kPageWidth, kPageHeight}, kBackground);
  switch (page) {
    case kTextSmall: PaintTextPage(dc, false); break;
    case kTextLarge: PaintTextPage(dc, true); break;
    case kDrawText: PaintDrawTextPage(dc); break;
    case kDrawing: PaintDrawingPage(dc); break;
    case kDialog: PaintDialogPage(dc, button_pressed); break;
    case kInput: PaintInputPage(dc, echo); break;
    case kControls: PaintControlsPage(dc); break;
    case kList: PaintListPage(dc); break;
    case kEdit: PaintEditPage(dc); break;
    default: break;
  }
  PaintHeader(dc, page);
  if (page == kDialog && dialog_open) {
    PaintDimmedBackground(dc);
    PaintMessageBox(dc, -1);
  }
}

}  // namespace brantel::gallery
