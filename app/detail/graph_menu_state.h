#pragma once
// The period menu's state apart from its window: the items, the frame
// rectangle it slides into, the slide and the pressed item.

#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/text.h"

namespace brantel {

struct GraphMenuItem {
  int id = 0;
  WideText caption;
};

// The four periods offered ("1일(추후 제공)", "1개월", "6개월", "1년").
std::vector<GraphMenuItem> PeriodMenuItems();

inline constexpr int kGraphMenuItemHeight = 65;
inline constexpr int kGraphMenuItemPitch = 66;
inline constexpr int kGraphMenuEdge = 16;
inline constexpr int kGraphMenuWidth = 300;

class GraphMenuState {
 public:
  // The frame ends `anchor_right` (10 pixels left of the button) with its
  // top at `top`.
  GraphMenuState(std::vector<GraphMenuItem> items, int anchor_right, int top);

  const std::vector<GraphMenuItem>& items() const { return items_; }
  // The full frame and the part of it shown now (it slides in from the right).
  Rect frame() const { return frame_; }
  Rect shown() const;
  Rect ItemRect(size_t index) const;  // in the full frame
  int pressed() const { return pressed_; }
  bool opening() const { return !closing_ && offset_ < frame_.Width(); }
  bool closing() const { return closing_; }

  // One 2 ms step. Returns true when a closing slide has ended (the menu
  // reports that nothing was chosen).
  bool Tick();
  // A press marks the item under it; outside the items it starts closing.
  void Press(Point p);
  // A release on the pressed item returns its id; otherwise 0.
  int Release(Point p);

 private:
  int ItemAt(Point p) const;

  std::vector<GraphMenuItem> items_;
  Rect frame_;
  int offset_ = 0;
  int step_ = 30;
  int pressed_ = -1;
  bool closing_ = false;
};

}  // namespace brantel
