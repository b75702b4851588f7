#include "app/common/quote_row_identity.h"

namespace brantel {

std::optional<RowKey> QuoteRowKey(const CMobileListCtrl& body, int row) {
  WideText text;
  bool section = false;
  RowKey key;
  if (body.GetRowText(row, &text, &section) != 0 || section || !ParseRowKey(text, key) || key.code.empty())
    return std::nullopt;
  return key;
}

void SetQuoteRowStar(CMobileListCtrl& body, int row, int star_cell, bool in_mypage) {
  body.SetCellImage(row, star_cell, StarImage(in_mypage));
  WideText text;
  if (body.GetRowText(row, &text) == 0) {
    const WideText marked = RowKeyWithMyPage(text, in_mypage);
    if (!marked.empty()) body.SetRowKeyText(row, marked);
  }
  body.Invalidate();
}

void SetQuoteRowStarsOfCode(CMobileListCtrl& body, WideView code, int star_cell, bool in_mypage) {
  for (int row = 0; row < body.RowCount(); ++row) {
    const std::optional<RowKey> key = QuoteRowKey(body, row);
    if (key && key->code == code) SetQuoteRowStar(body, row, star_cell, in_mypage);
  }
}

}  // namespace brantel
