#pragma once
// The tab strip ("Mobile Tab Control"): a row of tabs with an icon and a
// caption each, drawn from resource pictures. Tapping a tab that is not
// selected selects it and sends WM_TAB_SELECTED (index, tab id) to the
// notify window; tapping the selected tab sends nothing.

#include <cstdint>

#include "controls/tab_strip_paint.h"
#include "controls/tab_strip_state.h"
#include "platform/gfx/font.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr char16_t kTabCtrlClass[] = u"Mobile Tab Control";

class CKWTabCtrl : public Window {
 public:
  bool Create(const Rect& rect, Window* notify, ResourceLibraryRef library, int id, uint32_t style = WS_VISIBLE);

  void AddTab(int tab_id, const Rect& tab_rect, const Rect& icon_rect, const Rect& text_rect, WideView text,
              uint32_t normal_icon, uint32_t selected_icon, WideView second_text = u"");
  void AddTab(KWTab tab);
  // Selects a tab and repaints; the notify window is not told. An index
  // that names no tab is ignored.
  void SetSelectedIndex(int index);
  int selected_index() const { return state_.selected(); }

  // Picture tiled across the width; 0 fills the strip black.
  void SetBackground(uint32_t picture);
  // Picture drawn under the pressed and selected tabs, in the tab's
  // rectangle moved by (dx, dy); 0 draws none.
  void SetHighlight(uint32_t picture, int dx = 0, int dy = 0);
  void SetFont(const Font& font);
  void SetTextColors(COLORREF normal, COLORREF selected);
  void SetTextFormat(unsigned format);

  const TabStripState& state() const { return state_; }
  const TabStripLook& look() const { return look_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();

  TabStripState state_;
  HWND notify_ = 0;
  ResourceLibraryRef library_;
  Surface buffer_;
  TabStripLook look_;
};

}  // namespace brantel
