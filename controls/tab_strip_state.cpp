#include "controls/tab_strip_state.h"

namespace brantel {

int TabStripState::HitTest(Point p) const {
  for (size_t i = 0; i < tabs_.size(); ++i)
    if (tabs_[i].rect.Contains(p)) return int(i);
  return -1;
}

bool TabStripState::Press(Point p) {
  const int hit = HitTest(p);
  if (hit < 0) return false;
  pressed_ = hit;
  return true;
}

std::optional<TabSelection> TabStripState::Release(Point p) {
  const int hit = HitTest(p);
  std::optional<TabSelection> selection;
  if (hit >= 0 && hit == pressed_ && hit != selected_) {
    selected_ = hit;
    selection = TabSelection{hit, tabs_[size_t(hit)].tab_id};
  }
  pressed_ = -1;
  return selection;
}

bool TabStripState::SetSelected(int index) {
  if (index < 0 || size_t(index) >= tabs_.size()) return false;
  selected_ = index;
  return true;
}

}  // namespace brantel
