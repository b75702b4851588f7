#pragma once
// The tab strip's tabs and its reaction to the pointer, apart from its
// window and painting so the rules can be checked on their own.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/text.h"

namespace brantel {

struct KWTab {
  int tab_id = 0;
  Rect rect;       // in the strip
  Rect icon_rect;  // relative to the tab
  Rect text_rect;  // relative to the tab
  WideText text;
  uint32_t normal_icon = 0;
  uint32_t selected_icon = 0;
  WideText second_text;
};

// What the strip tells its notify window after a release.
struct TabSelection {
  int index = 0;
  int tab_id = 0;
};

class TabStripState {
 public:
  void AddTab(KWTab tab) { tabs_.push_back(std::move(tab)); }
  const std::vector<KWTab>& tabs() const { return tabs_; }
  int selected() const { return selected_; }
  int pressed() const { return pressed_; }

  // The first tab whose rectangle holds the point, or -1.
  int HitTest(Point p) const;
  // Pointer down: the tab under it becomes the pressed one. True when that
  // changed the look (a repaint is due).
  bool Press(Point p);
  // Pointer up: when it is over the pressed tab and that tab is not already
  // selected, the tab becomes selected and is returned for notification.
  // The pressed tab is cleared in any case.
  std::optional<TabSelection> Release(Point p);
  // Selects a tab without notification; false (nothing changes) for an
  // index that names no tab.
  bool SetSelected(int index);
  // Pressed and selected tabs show the highlight, selected icon and colour.
  bool Highlighted(int index) const { return index == selected_ || index == pressed_; }

 private:
  std::vector<KWTab> tabs_;
  int selected_ = 0;
  int pressed_ = -1;
};

}  // namespace brantel
