#include "tools/contact-sheet/compositions.h"

#include <functional>
#include <initializer_list>

#include "platform/gfx/device_context.h"
#include "tools/contact-sheet/sheet_pages.h"

namespace brantel::contact_sheet {

namespace {

constexpr COLORREF kScreen = RGB(0x0C, 0x0C, 0x0C);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kName = 0x94FFEF;  // names, as the lists draw them
constexpr COLORREF kRise = 0x0000FF;
constexpr COLORREF kFall = 0xFF5A00;
constexpr COLORREF kGrey = 0x999999;
constexpr unsigned kLine = DT_SINGLELINE | DT_VCENTER;

class Canvas {
 public:
  Canvas(Surface& page, const PictureLookup& pictures) : dc_(page), pictures_(pictures) {
    dc_.SetStretchBltMode(HALFTONE);
    dc_.SetBkMode(TRANSPARENT);
  }
  DeviceContext& dc() { return dc_; }
  void SetOrigin(int x, int y) { dc_.SetOrigin({x, y}); }

  // Stretched into `r`, as the screens draw a picture into a rectangle.
  void Picture(uint32_t number, const Rect& r) { dc_.DrawPicture(pictures_(number), r); }
  // At its own size.
  void Picture(uint32_t number, int x, int y) {
    const Surface& s = pictures_(number);
    dc_.DrawPicture(s, Rect::FromSize(x, y, s.width(), s.height()));
  }
  // With the picture's own alpha times a constant alpha.
  void Blend(uint32_t number, int x, int y, uint8_t alpha) {
    const Surface& s = pictures_(number);
    dc_.AlphaBlend(x, y, s.width(), s.height(), s, 0, 0, s.width(), s.height(), BlendFunction{alpha, AC_SRC_ALPHA});
  }
  // Repeated across `width` from x, as the tab strips tile their background.
  void Tile(uint32_t number, int x, int y, int width) {
    const Surface& s = pictures_(number);
    for (int at = x; s.width() > 0 && at < x + width; at += s.width()) Picture(number, at, y);
  }
  void Text(WideView text, const Rect& r, int height, COLORREF colour, unsigned format = DT_LEFT | kLine,
            int weight = FW_NORMAL) {
    dc_.SelectFont(Font(kGothicFace, height, weight));
    dc_.SetTextColor(colour);
    dc_.DrawText(text, r, format | DT_NOPREFIX);
  }
  void Caption(WideView text, int x, int y) { Text(text, Rect::FromSize(x, y - 26, 600, 24), 18, 0xC0C0C0); }

 private:
  DeviceContext dc_;
  const PictureLookup& pictures_;
};

void MainTabBar(Canvas& c) {
  c.Caption(u"main tab bar (1010 tiled, 1009, icons)", 0, 0);
  c.Tile(1010, 0, 0, 480);
  struct Tab {
    int left;
    const char16_t* caption;
    uint32_t icon;
  } tabs[] = {{20, u"마이페이지", 1012}, {175, u"시장정보", 1016}, {330, u"종목검색", 1013}};
  for (int i = 0; i < 3; ++i) {
    if (i == 0) c.Picture(1009, tabs[i].left, 0);
    c.Picture(tabs[i].icon, Rect{tabs[i].left + 32, 0, tabs[i].left + 98, 66});
    c.Text(tabs[i].caption, Rect{tabs[i].left, 66, tabs[i].left + 130, 88}, 18, i == 0 ? 0xFFC834 : kWhite,
           DT_CENTER | kLine);
  }
}

void ListRows(Canvas& c) {
  c.Caption(u"section row 1018, rows 1022, selection 1023, stars, arrow, thumb", 0, 0);
  c.dc().FillSolid(Rect{0, 0, 480, 42 + 4 * 71}, kScreen);
  c.Picture(1018, Rect{0, 0, 480, 42});
  c.Text(u"종목명", Rect{5, 0, 156, 42}, 24, kWhite);
  c.Text(u"현재가", Rect{161, 0, 277, 42}, 24, kWhite, DT_RIGHT | kLine);
  c.Text(u"등락", Rect{303, 0, 425, 42}, 24, kWhite, DT_RIGHT | kLine);
  struct Row {
    const char16_t* name;
    const char16_t* price;
    const char16_t* change;
    COLORREF colour;
    const char16_t* mark;
    bool starred;
  } rows[] = {{u"한빛전자", u"71,200", u"1,300", kRise, u"▲", true},
              {u"새솔자동차", u"186,500", u"2,500", kFall, u"▼", false},
              {u"누리소프트", u"212,000", u"0", kWhite, u"", true},
              {u"다온화학", u"48,150", u"350", kRise, u"▲", false}};
  int y = 42;
  c.dc().SelectPen(Pen{PS_SOLID, 1, 0x504744});
  for (int i = 0; i < 4; ++i, y += 71) {
    c.Picture(1022, Rect{0, y, 480, y + 70});
    if (i == 1) c.Picture(1023, 0, y);
    c.Text(rows[i].name, Rect{5, y + 9, 156, y + 63}, 24, kName);
    c.Text(rows[i].price, Rect{161, y + 9, 277, y + 63}, 24, kWhite, DT_RIGHT | kLine);
    c.Text(rows[i].mark, Rect{303, y + 19, 329, y + 45}, 24, rows[i].colour, DT_RIGHT | kLine);
    c.Text(rows[i].change, Rect{329, y + 9, 425, y + 63}, 24, rows[i].colour, DT_RIGHT | kLine);
    c.Picture(i == 3 ? 1025 : rows[i].starred ? 1057 : 1056, Rect{i == 3 ? 430 : 435, y + 10, i == 3 ? 470 : 475, y + 50});
    c.dc().MoveTo(0, y + 70);
    c.dc().LineTo(480, y + 70);
  }
  // The thumb: top cap, stretched body, bottom cap at the right edge.
  int top = 60, length = 140;
  c.Picture(1026, Rect{465, top, 480, top + 8});
  c.Picture(1028, Rect{465, top + 8, 480, top + length - 8});
  c.Picture(1027, Rect{465, top + length - 8, 480, top + length});
}

void MarketTabs(Canvas& c) {
  c.Caption(u"market tab strip (1030 tiled, 1029 selected, 1097 last)", 0, 0);
  c.Tile(1030, 0, 0, 480);
  const char16_t* captions[] = {u"종목", u"지수", u"환율", u"금리", u"상품"};
  for (int i = 0; i < 5; ++i) {
    uint32_t picture = i == 1 ? 1029 : i == 4 ? 1097 : 1030;
    c.Picture(picture, i * 95, 0);
    c.Text(captions[i], Rect{i * 95, 0, i * 95 + 95, 60}, 22, i == 1 ? 0x00C6FF : kWhite, DT_CENTER | kLine);
  }
}

void UpdateBar(Canvas& c, int width, const char16_t* caption) {
  c.Caption(caption, 0, 0);
  c.Picture(1019, Rect{0, 0, width, 40});
  c.Picture(1098, Rect{3, 0, 223, 40});
  c.Text(u"Updated : 12/07 10:58", Rect{230, 5, width - 50, 35}, 20, kGrey, DT_RIGHT | kLine);
  c.Picture(1038, width - 40, 5);
}

void SearchBar(Canvas& c) {
  c.Caption(u"search bar (1052, 1053 + 1055 + 1054, button 1005)", 0, 0);
  c.Picture(1052, Rect{0, 0, 480, 86});
  c.Picture(1053, Rect{14, 12, 26, 74});
  c.Picture(1055, Rect::FromSize(26, 12, 364, 62));
  c.Picture(1054, Rect::FromSize(390, 12, 12, 62));
  c.dc().FillSolid(Rect::FromSize(26, 31, 280, 25), 0xF2F2F2);
  c.Text(u"종목명 또는 코드 입력", Rect::FromSize(28, 31, 278, 25), 24, 0xC3C3C3);
  c.Picture(1005, 480 - 67, 12);
}

void EditorStrips(Canvas& c) {
  c.Caption(u"title band 1034, button strip 1033 with 1004 / 1002, then 1003 / 1032", 0, 0);
  c.Picture(1034, Rect{0, 0, 480, 75});
  c.Text(u"마이페이지 편집", Rect{55, 17, 425, 57}, 28, kWhite, DT_CENTER | kLine);
  c.dc().FillSolid(Rect{0, 75, 480, 120}, kScreen);
  c.Picture(1033, Rect{0, 120, 480, 160});
  c.Picture(1004, 236, 120);
  c.Picture(1002, 359, 120);
  c.Picture(1033, Rect{0, 170, 480, 210});
  c.Picture(1003, 236, 170);
  c.Picture(1032, 359, 170);
}

void MessageBox(Canvas& c, const ResourceLibrary& library) {
  c.Caption(u"message box (1070, 1071 stretched, 1072, buttons 1075 / 1076)", 0, 0);
  c.dc().FillSolid(Rect{0, 0, 445, 470}, 0x202020);
  int lines = 2, box = 93 + 97 + 48 * lines - 6;
  c.Picture(1070, 0, 0);
  c.Picture(1071, Rect{0, 65, 445, box - 20});
  c.Picture(1072, 0, box - 20);
  c.Text(u"증권정보 NUV", Rect{0, 0, 445, 65}, 42, kWhite, DT_CENTER | kLine | DT_END_ELLIPSIS);
  c.Text(library.String(111), Rect{26, 93, 419, 93 + 48 * lines - 6}, 36, kWhite, DT_LEFT | DT_WORDBREAK);
  int buttons = 101 + 48 * lines;
  c.Picture(1075, Rect{21, buttons, 217, buttons + 62});
  c.Text(u"Ok", Rect{21, buttons, 217, buttons + 62}, 40, kWhite, DT_CENTER | kLine);
  c.Picture(1076, Rect{228, buttons, 424, buttons + 62});
  c.Text(u"Cancel", Rect{228, buttons + 2, 424, buttons + 64}, 40, kWhite, DT_CENTER | kLine);

  // One line, one button stretched to 403.
  int top = box + 20, one = 115 + 123 + 48 - 6;
  c.Picture(1070, 0, top);
  c.Picture(1071, Rect{0, top + 65, 445, top + one - 20});
  c.Picture(1072, 0, top + one - 20);
  c.Text(u"증권정보 NUV", Rect{0, top, 445, top + 65}, 42, kWhite, DT_CENTER | kLine);
  c.Text(library.String(104), Rect{26, top + 115, 419, top + 157}, 36, kWhite);
  c.Picture(1075, Rect{21, top + 149 + 48, 424, top + 149 + 48 + 62});
  c.Text(u"Ok", Rect{21, top + 197, 424, top + 259}, 40, kWhite, DT_CENTER | kLine);
}

void PeriodMenu(Canvas& c) {
  c.Caption(u"period menu (nine pieces 1058-1066, highlight 1068 1067 1069)", 0, 0);
  c.dc().FillSolid(Rect{0, 0, 440, 310}, 0x303030);
  const int w = 300, items = 4, h = 16 + items * 66 + 15;
  c.Picture(1063, 0, 0);
  c.Picture(1060, Rect{16, 0, w - 16, 16});
  c.Picture(1066, w - 16, 0);
  c.Picture(1062, Rect{0, 16, 16, h - 16});
  c.Picture(1059, Rect{16, 16, w - 16, h - 16});
  c.Picture(1065, Rect{w - 16, 16, w, h - 16});
  c.Picture(1061, 0, h - 16);
  c.Picture(1058, Rect{16, h - 16, w - 16, h});
  c.Picture(1064, w - 16, h - 16);
  const char16_t* captions[] = {u"1일(추후 제공)", u"1개월", u"6개월", u"1년"};
  c.dc().SelectPen(Pen{PS_SOLID, 1, 0x545454});
  for (int i = 0; i < items; ++i) {
    int y = 16 + i * 66;
    if (i == 1) {
      c.Picture(1068, 8, y);
      c.Picture(1067, Rect{14, y, w - 14, y + 65});
      c.Picture(1069, w - 14, y);
    }
    c.Text(captions[i], Rect{8 + 24, y, w - 8, y + 65}, 40, kWhite);
    if (i + 1 < items) {
      c.dc().MoveTo(8, y + 65);
      c.dc().LineTo(w - 8, y + 65);
    }
  }
}

void LoadingPanel(Canvas& c) {
  c.Caption(u"loading panel 1078 with frame 1083", 0, 0);
  c.dc().FillSolid(Rect{0, 0, 400, 390}, 0x181818);
  c.Picture(1078, 0, 0);
  c.Picture(1083, 175, 207);
  c.Text(u"로딩중..", Rect{159, 265, 290, 295}, 24, 0xAFAFAF);
}

void HelpPanel(Canvas& c) {
  c.Caption(u"help panel (1089, 1090 stretched, 1091), bullet 1094, ticks 1092 / 1093, button 1075", 0, 0);
  c.dc().FillSolid(Rect{0, 0, 445, 420}, 0x181818);
  c.Picture(1089, 0, 0);
  c.Picture(1090, Rect{0, 20, 445, 400});
  c.Picture(1091, 0, 400);
  c.Text(u"이용안내", Rect{0, 0, 445, 80}, 40, kWhite, DT_CENTER | kLine);
  c.Picture(1094, 20, 90);
  c.Text(u"화면안내", Rect{50, 90, 400, 120}, 28, kWhite);
  c.Text(u"1) '마이페이지'에서 별 선택으로 등록한", Rect{20, 130, 440, 160}, 22, kWhite);
  c.Text(u"     관심정보를 조회할 수 있습니다.", Rect{20, 161, 440, 191}, 22, kWhite);
  c.Picture(1092, 18, 220);
  c.Text(u"다시 보지않기", Rect{81, 227, 360, 269}, 32, kWhite);
  c.Picture(1093, 300, 220);
  c.Picture(1075, Rect{124, 300, 320, 362});
  c.Text(u"확인", Rect{124, 300, 320, 362}, 40, kWhite, DT_CENTER | kLine);
}

void DetailPieces(Canvas& c) {
  c.Caption(u"detail: 1034 title, 1018, price box 1044, 1045 + 1046, daily rows 1096", 0, 0);
  c.dc().FillSolid(Rect{0, 0, 480, 540}, kScreen);
  c.Picture(1034, Rect{0, 0, 480, 75});
  c.Text(u"한빛전자", Rect{0, 0, 430, 75}, 32, kWhite, DT_CENTER | kLine);
  c.Picture(1057, 430, 17);
  int y = 75;
  c.Picture(1018, Rect{0, y, 480, y + 42});
  c.Text(u"현재 정보 (지연)", Rect{10, y, 210, y + 42}, 24, kWhite);
  c.Picture(1044, Rect{15, y + 57, 232, y + 167});
  c.Text(u"71,200", Rect{15, y + 77, 232, y + 123}, 48, 0x2FFF6F, DT_CENTER | kLine);
  c.Text(u"▲", Rect{19, y + 133, 45, y + 159}, 22, kRise, DT_CENTER | kLine);
  c.Text(u"1,300", Rect{45, y + 133, 123, y + 159}, 22, kRise, DT_RIGHT | kLine);
  c.Text(u"1.86%", Rect{123, y + 133, 223, y + 159}, 22, kRise, DT_RIGHT | kLine);
  const char16_t* labels[] = {u"고가", u"저가", u"거래량", u"시간"};
  const char16_t* values[] = {u"71,800", u"70,100", u"12,345,678", u"10:58"};
  for (int i = 0; i < 4; ++i) {
    c.Text(labels[i], Rect{262, y + 52 + 32 * i, 346, y + 74 + 32 * i}, 18, 0x888888);
    c.Text(values[i], Rect{353, y + 52 + 32 * i, 473, y + 74 + 32 * i}, 22, kWhite, DT_RIGHT | kLine);
  }
  c.Picture(1018, Rect{0, y + 182, 480, y + 224});
  c.Text(u"52주 요약", Rect{10, y + 182, 210, y + 224}, 24, kWhite);
  c.Picture(1045, Rect{0, y + 224, 480, y + 394});
  c.Picture(1046, Rect{15, y + 232, 231, y + 384});
  c.Picture(1018, Rect{0, y + 394, 480, y + 436});
  c.Text(u"일별 시세", Rect{10, y + 394, 210, y + 436}, 24, kWhite);
  c.Picture(1096, Rect{0, y + 436, 480, y + 496});
  c.Text(u"12/07", Rect{10, y + 436, 80, y + 496}, 22, kWhite);
  c.Text(u"71,200", Rect{80, y + 436, 204, y + 496}, 22, kWhite, DT_RIGHT | kLine);
}

void Landscape(Canvas& c) {
  c.Caption(u"landscape (1051, header 1043, footer 1019 at 800, buttons 1049 / 1048 blended)", 0, 0);
  c.Picture(1051, Rect{0, 0, 800, 480});
  c.Picture(1043, Rect{0, 0, 800, 42});
  c.Text(u"한빛전자", Rect{10, 0, 206, 42}, 24, kName);
  c.Text(u"현재가 : 71,200", Rect{220, 0, 410, 42}, 24, kWhite);
  c.Picture(1019, Rect{0, 440, 800, 480});
  c.Picture(1098, Rect{3, 440, 223, 480});
  // Emphasised or pressed buttons blend at 210, the others at 70.
  c.Blend(1049, 712, 80, 70);
  c.Blend(1047, 712, 156, 70);
  c.Blend(1050, 632, 80, 210);
  c.Blend(1048, 632, 156, 210);
}

// On a canvas over the updater's pictures (`updater`).
void UpdaterPanel(Canvas& c, const PictureLookup& updater) {
  c.Caption(u"updater panel (507 colour-keyed, 509 508, frames 506 510, fill 505, button 501)", 0, 0);
  c.dc().FillSolid(Rect{0, 0, 362, 400}, 0x3A3A3A);
  const Surface& panel = updater(507);
  c.dc().TransparentBlt(20, 20, panel.width(), panel.height(), panel, 0, 0, panel.width(), panel.height(), 0xFF00FF);
  c.SetOrigin(c.dc().origin().x + 20, c.dc().origin().y + 20);
  c.Picture(509, 28, 190);
  c.Picture(508, 28, 243);
  c.Picture(506, 38, 211);
  c.Picture(510, 38, 264);
  for (int bar = 0; bar < 2; ++bar) {
    int y = bar ? 271 : 218, percent = bar ? 35 : 72;
    c.dc().FillSolid(Rect::FromSize(49, y, 232, 15), 0x525252);
    int filled = 232 * percent / 100;
    c.dc().SetClipRect(Rect::FromSize(49, y, filled, 15));
    for (int x = 49; x < 49 + filled; x += 8) c.Picture(505, x, y);
    c.dc().ResetClip();
    c.Text(Widen(std::to_string(percent) + " %"), Rect::FromSize(49, y, 232, 15), 13, kWhite, DT_CENTER | kLine);
  }
  c.Text(u"파일 다운로드 중 ...", Rect{31, 86, 292, 116}, 18, 0x3A3737, DT_LEFT | kLine, FW_BOLD);
  c.Text(u"BrantelStock", Rect{105, 126, 281, 150}, 17, 0x3A3737, DT_LEFT | kLine | DT_END_ELLIPSIS);
  c.Text(u"812.4/1130.0(KB)", Rect{110, 187, 292, 211}, 17, 0x3A3737, DT_RIGHT | kLine);
  c.Text(u"120.0/342.9(KB)", Rect{110, 241, 292, 265}, 17, 0x3A3737, DT_RIGHT | kLine);
  c.Picture(501, 108, 310);
  c.Text(u"취소", Rect{108, 310, 216, 348}, 18, kWhite, DT_CENTER | kLine, FW_BOLD);
}

// One piece of a page: where its origin goes and what draws it there.
struct PlacedPiece {
  int x, y;
  std::function<void(Canvas&)> draw;
};

// Draws the pieces on `page` in order with one canvas over `pictures`.
void DrawPieces(Surface& page, const PictureLookup& pictures, std::initializer_list<PlacedPiece> pieces) {
  Canvas c(page, pictures);
  for (const PlacedPiece& piece : pieces) {
    c.SetOrigin(piece.x, piece.y);
    piece.draw(c);
  }
}

}  // namespace

std::vector<Surface> DrawCompositions(const PictureLookup& viewer, const PictureLookup& updater,
                                      const ResourceLibrary& library) {
  std::vector<Surface> pages;
  pages.emplace_back(kPageWidth, kPageHeight, 0xFF202226);
  DrawPieces(pages.back(), viewer,
             {{20, 50, MainTabBar},
              {20, 180, ListRows},
              {20, 540, MarketTabs},
              {20, 640, [](Canvas& c) { UpdateBar(c, 480, u"update bar (1019, logo 1098, spinner frame 1038)"); }},
              {20, 720, SearchBar},
              {20, 850, EditorStrips},
              {530, 50, [&](Canvas& c) { MessageBox(c, library); }},
              {530, 700, PeriodMenu}});
  pages.emplace_back(kPageWidth, kPageHeight, 0xFF202226);
  DrawPieces(pages.back(), viewer,
             {{20, 50, HelpPanel},
              {500, 50, DetailPieces},
              {20, 640, Landscape},
              {20, 1160, [](Canvas& c) { UpdateBar(c, 800, u"footer band 1019 stretched to 800"); }}});
  pages.emplace_back(kPageWidth, kPageHeight, 0xFF202226);
  DrawPieces(pages.back(), viewer, {{20, 50, LoadingPanel}});
  DrawPieces(pages.back(), updater, {{480, 50, [&](Canvas& c) { UpdaterPanel(c, updater); }}});
  return pages;
}

}  // namespace brantel::contact_sheet
