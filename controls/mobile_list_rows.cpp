#include "controls/mobile_list_rows.h"

#include <utility>

namespace brantel {

std::vector<WideText> SplitAlternatives(WideView text) {
  std::vector<WideText> parts;
  size_t start = 0;
  for (;;) {
    const size_t caret = text.find(u'^', start);
    parts.emplace_back(text.substr(start, caret == WideView::npos ? WideView::npos : caret - start));
    if (caret == WideView::npos) return parts;
    start = caret + 1;
  }
}

MobileListCell MobileListCell::Text(int cell_id, int column_id, const Rect& rect, WideView text, const Font& font,
                                    COLORREF color, COLORREF selected_color, unsigned format) {
  MobileListCell cell;
  cell.cell_id = cell_id;
  cell.column_id = column_id;
  cell.rect = rect;
  cell.font = font;
  cell.text_color = color;
  cell.selected_color = selected_color;
  cell.format = format;
  cell.alternatives = SplitAlternatives(text);
  return cell;
}

MobileListCell MobileListCell::Image(int cell_id, int column_id, const Rect& rect, uint32_t image_id) {
  MobileListCell cell;
  cell.cell_id = cell_id;
  cell.column_id = column_id;
  cell.rect = rect;
  cell.image_mode = true;
  cell.image_id = image_id;
  return cell;
}

WideView MobileListCell::text() const {
  if (shown < 0 || size_t(shown) >= alternatives.size()) return {};
  return alternatives[size_t(shown)];
}

void MobileListCell::Show(int index) {
  const int count = int(alternatives.size());
  const int next = index >= 0 && index < count ? index : 0;
  if (next != shown) text_width = -1;
  shown = next;
}

MobileListCell* MobileListRow::FindCell(int cell_id) {
  for (auto& cell : cells)
    if (cell.cell_id == cell_id) return &cell;
  return nullptr;
}

const MobileListCell* MobileListRow::FindCell(int cell_id) const {
  return const_cast<MobileListRow*>(this)->FindCell(cell_id);
}

void MobileListRows::Add(int index, MobileListRow row) {
  const size_t at = index < 0 || index > size() ? rows_.size() : size_t(index);
  rows_.insert(rows_.begin() + std::ptrdiff_t(at), std::move(row));
  for (size_t i = at; i < rows_.size(); ++i) rows_[i].index = int(i);
}

void MobileListRows::Clear() {
  rows_.clear();
  sections_.clear();
}

void MobileListRows::RebuildSections() {
  sections_.clear();
  for (auto& row : rows_) {
    row.ordinal = row.section ? int(sections_.size()) : -1;
    if (row.section) sections_.push_back(row.index);
  }
}

int MobileListRows::GetRowText(int row_index, WideText* key, bool* section) const {
  const MobileListRow* r = row(row_index);
  if (!r) return -1;
  if (key) *key = r->key;
  if (section) *section = r->section;
  return 0;
}

int MobileListRows::GetCellText(int row_index, int cell_id, WideText* text) const {
  const MobileListRow* r = row(row_index);
  if (!r) return -1;
  const MobileListCell* cell = r->FindCell(cell_id);
  if (!cell) return -2;
  if (text) *text = WideText(cell->text());
  return 0;
}

void MobileListRows::Swap(int a, int b) {
  std::swap(rows_[size_t(a)], rows_[size_t(b)]);
  std::swap(rows_[size_t(a)].index, rows_[size_t(b)].index);
}

void MobileListRows::ShowColumnAlternative(int column_id, int index) {
  for (auto& row : rows_)
    for (auto& cell : row.cells)
      if (cell.column_id == column_id) cell.Show(index);
}

}  // namespace brantel
