#pragma once
// One grey line over an empty list that says how to fill it. It takes no
// input (a tap there has nothing to reach) and shows only while the list is
// empty; the screen shows and hides it.

#include "platform/ui/window.h"

namespace brantel {

inline constexpr COLORREF kEmptyListHintColour = 0x999999;
inline constexpr int kEmptyListHintFontHeight = 20;
inline constexpr int kEmptyListHintHeight = 60;

class CEmptyListHint : public Window {
 public:
  // Hidden at first; `rect` in the parent's client coordinates.
  bool Create(Window* parent, const Rect& rect, WideView text);

 protected:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace brantel
