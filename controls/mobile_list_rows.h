#pragma once
// The list's data: rows of cells, each cell with its "^"-separated
// alternative texts (or a picture), and the index of the section headers.
// No window and no drawing here.

#include <memory>
#include <vector>

#include "platform/gfx/device_context.h"
#include "platform/gfx/font.h"
#include "platform/gfx/surface.h"
#include "platform/text.h"

namespace brantel {

// Splits "a^b^c" into its alternatives (one empty text for an empty input).
std::vector<WideText> SplitAlternatives(WideView text);

struct MobileListCell {
  int cell_id = 0;
  int column_id = 0;
  // Left and right are absolute; top and bottom are relative to the row top.
  Rect rect;
  int text_width = -1;  // measured once when first painted; < 0 = not yet
  Font font;
  COLORREF text_color = 0xFFFFFF;
  COLORREF selected_color = 0xFFFFFF;
  unsigned format = DT_LEFT;
  bool image_mode = false;
  uint32_t image_id = 0;
  std::shared_ptr<const Surface> bitmap;  // drawn instead of image_id when set
  std::vector<WideText> alternatives;
  int shown = 0;

  // A text cell; `text` may carry alternatives joined by "^".
  static MobileListCell Text(int cell_id, int column_id, const Rect& rect, WideView text, const Font& font,
                             COLORREF color, COLORREF selected_color, unsigned format = DT_LEFT);
  // A picture cell showing the resource picture `image_id`.
  static MobileListCell Image(int cell_id, int column_id, const Rect& rect, uint32_t image_id);

  WideView text() const;
  // Shows alternative `index`; one outside [0, count) shows the first.
  void Show(int index);
};

struct MobileListRow {
  int index = 0;
  int height = 0;  // 0 or less: the list's default row height
  bool section = false;
  int ordinal = -1;  // among the section headers
  int top = 0;       // in content coordinates, set by the layout
  WideText key;      // the screen's row key text
  std::vector<MobileListCell> cells;

  MobileListCell* FindCell(int cell_id);
  const MobileListCell* FindCell(int cell_id) const;
};

class MobileListRows {
 public:
  // Inserts `row` at position `index` (appends when index < 0 or past the
  // end); rows keep their positions as index numbers.
  void Add(int index, MobileListRow row);
  void Clear();
  int size() const { return int(rows_.size()); }
  bool Has(int row) const { return row >= 0 && row < size(); }
  MobileListRow* row(int i) { return Has(i) ? &rows_[size_t(i)] : nullptr; }
  const MobileListRow* row(int i) const { return Has(i) ? &rows_[size_t(i)] : nullptr; }
  std::vector<MobileListRow>& rows() { return rows_; }
  const std::vector<MobileListRow>& rows() const { return rows_; }
  // The rows that are section headers, in order.
  const std::vector<int>& sections() const { return sections_; }
  void RebuildSections();

  // The row's key text and whether it is a section header; -1 when the row
  // does not exist, else 0.
  int GetRowText(int row, WideText* key, bool* section) const;
  // The shown alternative of a cell: 0, -1 no row, -2 no cell.
  int GetCellText(int row, int cell_id, WideText* text) const;
  // Swaps two rows and their index numbers.
  void Swap(int a, int b);
  // Every cell of column `column_id` shows alternative `index`.
  void ShowColumnAlternative(int column_id, int index);

 private:
  std::vector<MobileListRow> rows_;
  std::vector<int> sections_;
};

}  // namespace brantel
