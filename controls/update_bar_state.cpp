#include "controls/update_bar_state.h"

namespace brantel {

int NextUpdateBarFrame(int frame) {
  return frame < 0 || frame >= kUpdateBarFrameCount - 1 ? 0 : frame + 1;
}

WideText UpdateBarText(WideView last_update) {
  WideText text = u"Updated : ";
  if (last_update.size() > 3) text += last_update.substr(3, 11);
  return text;
}

Rect UpdateBarAnimationRect(int bar_height) {
  const int y = (bar_height - 30) / 2;
  return Rect{440, y, 470, y + 30};
}

}  // namespace brantel
