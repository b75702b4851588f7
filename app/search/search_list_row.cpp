#include "app/search/search_list_row.h"

#include "controls/viewer_fonts.h"

namespace brantel {

namespace {

constexpr COLORREF kCodeColor = kMarketWhite;
constexpr COLORREF kNameColor = kMarketNameColour;
constexpr int kCellTextHeight = 22;

}  // namespace

MobileListRow SearchListRow(const SearchRow& row) {
  const Font& font = ViewerFont(kCellTextHeight);
  MobileListRow out;
  out.key = SearchRowKey(row);
  out.cells.push_back(MobileListCell::Text(kSearchCodeCell, kSearchCodeCell, Rect{10, 17, 146, 43}, row.code, font,
                                           kCodeColor, kCodeColor, kMarketLineLeft));
  out.cells.push_back(MobileListCell::Text(kSearchNameCell, kSearchNameCell, Rect{188, 17, 422, 43},
                                           SearchDisplayName(row.name), font, kNameColor, kNameColor, kMarketLineLeft));
  out.cells.push_back(MobileListCell::Image(kSearchStarCell, kSearchStarCell, kQuoteRowStarRect,
                                            StarImage(row.in_mypage)));
  // A "^" in a text would split it into alternatives: keep it whole.
  for (int i : {kSearchCodeCell, kSearchNameCell}) {
    MobileListCell& cell = out.cells[size_t(i)];
    cell.alternatives = {i == kSearchCodeCell ? row.code : SearchDisplayName(row.name)};
    cell.shown = 0;
  }
  return out;
}

}  // namespace brantel
