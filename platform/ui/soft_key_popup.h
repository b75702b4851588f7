#pragma once
// A pop-up menu of the soft-key bar: a top-most window over the screen, just
// above its soft key, in the dark theme, with separators and ticks. It holds
// the pointer while open: a press outside it closes it. Keys come from the
// bar's keyboard routing (Up, Down, Enter, back). A menu taller than the
// room above the key scrolls: a drag or the wheel moves it, and the keys keep
// the highlight in view.

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/ui/soft_menu.h"
#include "platform/ui/window.h"

namespace brantel {

constexpr int kSoftPopupItemHeight = 58;
constexpr int kSoftPopupSeparatorHeight = 13;
constexpr int kSoftPopupPadding = 6;
constexpr int kSoftPopupFontHeight = 26;

struct SoftPopupLayout {
  Rect window;               // screen coordinates
  std::vector<Rect> items;   // content coordinates (client at scroll 0), one per menu item
  int content_height = 0;    // all items with the padding; more than the window when it scrolls
  int MaxScroll() const { return std::max(0, content_height - window.Height()); }
};

// Where the pop-up of soft key `key` (0 left, 1 right) lies: above
// `bar_screen_rect`, at its left or right edge, as wide as the longest
// caption needs (within the screen), never above the system bar.
SoftPopupLayout LayoutSoftPopup(const SoftMenu& menu, int key, const Rect& bar_screen_rect);

// The next item the highlight moves to from `from` (-1 none) in `step`
// direction (+1 down, -1 up), skipping separators and wrapping; -1 when
// the menu has no item that can be chosen.
int NextSoftPopupItem(const SoftMenu& menu, int from, int step);

class SoftKeyPopup : public Window {
 public:
  // `on_choice` gets the chosen command after the pop-up closed;
  // `on_gone` runs when the window is gone (the object deletes itself then).
  SoftKeyPopup(SoftMenu& menu, std::function<void(uint32_t)> on_choice, std::function<void()> on_gone);

  // Creates the window at `layout`, takes the pointer. The object owns
  // itself from here: it is deleted when its window goes.
  bool Open(const SoftPopupLayout& layout);
  void Close() { Destroy(); }

  // Up, Down, Enter, back; true when taken.
  bool HandleKey(uint32_t vk);
  int highlight() const { return highlight_; }
  // How far the items are scrolled up (0 to the layout's MaxScroll).
  int scroll() const { return scroll_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
  void OnFinalDestroy() override;

 private:
  int ItemAt(Point client) const;
  void SetHighlight(int index);
  void ScrollTo(int scroll);
  void ScrollIntoView(int index);
  void Choose(int index);
  void Paint();

  SoftMenu& menu_;
  std::function<void(uint32_t)> on_choice_;
  std::function<void()> on_gone_;
  SoftPopupLayout layout_;
  int highlight_ = -1;
  int scroll_ = 0;
  int press_y_ = 0;            // client y of the press, and the scroll then
  int press_scroll_ = 0;
  bool dragging_ = false;      // the press became a drag: its release chooses nothing
  bool pressed_inside_ = false;
  bool closing_ = false;
  bool dismissed_ = false;  // hidden by a press outside, gone at its release
};

}  // namespace brantel
