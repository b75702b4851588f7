#include "app/detail/graph_menu_state.h"

#include <algorithm>

#include "app/detail/detail_rules.h"

namespace brantel {

std::vector<GraphMenuItem> PeriodMenuItems() {
  return {{kPeriodItemDay, u"1일(추후 제공)"},
          {kPeriodItemMonth, u"1개월"},
          {kPeriodItemHalfYear, u"6개월"},
          {kPeriodItemYear, u"1년"}};
}

GraphMenuState::GraphMenuState(std::vector<GraphMenuItem> items, int anchor_right, int top) : items_(std::move(items)) {
  const int height = 2 * kGraphMenuEdge + kGraphMenuItemPitch * int(items_.size()) - 1;
  frame_ = Rect{anchor_right - kGraphMenuWidth, top, anchor_right, top + height};
}

Rect GraphMenuState::shown() const {
  const int width = std::clamp(offset_, 0, frame_.Width());
  return Rect{frame_.right - width, frame_.top, frame_.right, frame_.bottom};
}

Rect GraphMenuState::ItemRect(size_t index) const {
  const int top = frame_.top + kGraphMenuEdge + kGraphMenuItemPitch * int(index);
  return Rect{frame_.left + kGraphMenuEdge, top, frame_.right - kGraphMenuEdge, top + kGraphMenuItemHeight};
}

bool GraphMenuState::Tick() {
  if (closing_) {
    offset_ -= step_;
    if (step_ > 3) --step_;
    return offset_ <= 33;
  }
  if (offset_ < frame_.Width()) {
    offset_ = std::min(offset_ + step_, frame_.Width());
    if (step_ < 40) ++step_;
  }
  return false;
}

int GraphMenuState::ItemAt(Point p) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (ItemRect(i).Contains(p)) return int(i);
  return -1;
}

void GraphMenuState::Press(Point p) {
  if (closing_) return;
  pressed_ = ItemAt(p);
  if (pressed_ < 0) {
    closing_ = true;
    step_ = std::max(step_, 3);
  }
}

int GraphMenuState::Release(Point p) {
  const int pressed = pressed_;
  pressed_ = -1;
  return pressed >= 0 && ItemAt(p) == pressed ? items_[size_t(pressed)].id : 0;
}

}  // namespace brantel
