#pragma once
// A market-like list for the gallery and the benchmarks: a section row every
// 20 rows, then rows of name, price and change (three alternatives: change,
// rate, volume) in rise/fall colours.

#include <cstdio>
#include <memory>
#include <vector>

#include "controls/mobile_list_rows.h"

namespace brantel::testing {

inline constexpr int kSampleRowHeight = 70;
inline constexpr int kSampleSectionHeight = 42;
inline constexpr int kSampleChangeColumn = 2;

inline std::vector<MobileListRow> SampleListRows(int count, int width = 480) {
  const Font name_font(u"벨탄고딕", 24, FW_BOLD);
  const Font value_font(u"벨탄고딕", 22);
  const auto band = std::make_shared<Surface>(width, kSampleSectionHeight, 0xFF2B3A4F);
  constexpr unsigned kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  std::vector<MobileListRow> rows;
  rows.reserve(size_t(count));
  char text[96];
  for (int i = 0; i < count; ++i) {
    MobileListRow row;
    if (i % 20 == 0) {
      row.section = true;
      row.height = kSampleSectionHeight;
      MobileListCell picture = MobileListCell::Image(9, 0, Rect{0, 0, width, kSampleSectionHeight}, 0);
      picture.bitmap = band;
      row.cells.push_back(std::move(picture));
      std::snprintf(text, sizeof text, "%d–%d번 종목", i + 1, i + 20);
      row.cells.push_back(MobileListCell::Text(1, 0, Rect{16, 0, width - 16, kSampleSectionHeight}, Widen(text),
                                               value_font, 0xEFFF94, 0xEFFF94, DT_LEFT | kLine));
    } else {
      const bool rise = (i * 7) % 3 != 0;
      const COLORREF color = rise ? 0x3C3CFF : 0xFF8C3C;
      std::snprintf(text, sizeof text, "종목 %04d 전자우선주", i);
      row.key = Widen(text);
      row.cells.push_back(MobileListCell::Text(0, 1, Rect{12, 0, 220, kSampleRowHeight}, row.key, name_font,
                                               0xEFFF94, 0xFFFFFF, DT_LEFT | kLine));
      std::snprintf(text, sizeof text, "%d,%03d", 10 + i % 90, (i * 37) % 1000);
      row.cells.push_back(MobileListCell::Text(3, 3, Rect{228, 0, 340, kSampleRowHeight}, Widen(text), value_font,
                                               color, 0xFFFFFF, DT_RIGHT | kLine));
      std::snprintf(text, sizeof text, "%s%d^%s%d.%02d%%^%d", rise ? "▲" : "▼", i % 500, rise ? "+" : "-", i % 15,
                    i % 100, i * 13 % 100000);
      row.cells.push_back(MobileListCell::Text(2, kSampleChangeColumn, Rect{344, 0, width - 14, kSampleRowHeight},
                                               Widen(text), value_font, color, 0xFFFFFF, DT_RIGHT | kLine));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace brantel::testing
