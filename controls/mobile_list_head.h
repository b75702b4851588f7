#pragma once
// CMobileListHead: the strip of column captions above the list body. A
// caption may hold alternatives joined by "^"; a tap on such a column shows
// the next one and sends WM_MOBILELIST_COLUMN (column id, new index) to the
// notify window.

#include <memory>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr char16_t kMobileListHeadClass[] = u"Mobile List Control Header";

struct MobileListColumn {
  int column_id = 0;
  Rect rect;  // display rectangle
  Rect hit;   // hit rectangle
  std::vector<WideText> captions;
  int shown = 0;
  unsigned style = 0;  // the caption's text format
};

class CMobileListHead : public Window {
 public:
  CMobileListHead();

  bool Create(const Rect& rect, Window* parent, HWND notify, ResourceLibraryRef library, int id = 0);

  // A column starting at the right edge of the previous one, `width` wide
  // over the header's height. `hit` (client coordinates) narrows or widens
  // where it takes taps; empty = its own rectangle.
  void AddColumn(int column_id, int width, WideView caption, const Rect& hit = {}, unsigned style = 0);
  // Shows caption `index` of the column (one outside the captions shows the first).
  void SetShown(int column_id, int index);
  const std::vector<MobileListColumn>& columns() const { return columns_; }
  const MobileListColumn* FindColumn(int column_id) const;

  void SetBackgroundImage(uint32_t image_id);
  void SetBackgroundColor(COLORREF color) { background_color_ = color; }
  // The indicator shown in columns that cycle; `rect` is relative to a
  // column's left edge. Magenta (0xFF00FF) is its transparent colour.
  void SetIndicator(uint32_t image_id, const Rect& rect);

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  int HitColumn(Point p) const;
  void Paint();

  HWND notify_ = 0;
  ResourceLibraryRef library_;
  std::vector<MobileListColumn> columns_;
  Surface buffer_;
  COLORREF background_color_ = 0x202020;
  std::shared_ptr<const Surface> background_;
  uint32_t indicator_id_ = 0;
  std::shared_ptr<const Surface> indicator_;
  Rect indicator_rect_;
  Font font_;
  COLORREF text_color_ = 0xFFFFFF;
  int pressed_column_ = -1;
};

}  // namespace brantel
