#pragma once
// The soft-key menu bar, the stand-in of the device's menu bar: a menu
// resource shown as two soft keys over the bottom 52 pixels of a window.
// An item without a pop-up sends its command when pressed; an item with one
// opens it (SoftKeyPopup). Just before a pop-up opens the owner gets
// WM_INITMENUPOPUP (wParam the SoftMenu*, lParam the soft key), so it can
// tick or rebuild the items; a choice is posted to the owner as WM_COMMAND
// (the command in wParam, lParam 0).
//
// The device's soft-key buttons: F1 presses the left soft key, F2 the right
// one, whatever window has the focus (the bar of the active top-level window
// takes them). In an open pop-up Down and Up move the highlight (none at
// first: Down takes the top item, Up the bottom one), Enter chooses and the
// back key closes it.

#include "platform/ui/soft_key_popup.h"
#include "platform/ui/soft_menu.h"
#include "platform/ui/window.h"

namespace brantel {

constexpr int kSoftKeyBarHeight = 52;

class SoftKeyBar : public Window {
 public:
  SoftKeyBar() = default;
  ~SoftKeyBar() override;

  // Creates the bar over the bottom 52 pixels of `parent`'s client area.
  // `input_panel_button` shows the input-panel button between the keys
  // (hidden otherwise, also on the system bar).
  bool Create(Window& parent, HWND owner, const ResourceMenu& menu, bool input_panel_button, int id = 0);

  // The soft keys and their pop-ups, for run-time changes.
  SoftMenu& menu() { return menu_; }
  HWND owner() const { return owner_; }

  // Presses soft key 0 (left) or 1 (right), as a tap or F1 / F2 does.
  void PressSoftKey(int key);
  bool IsPopupOpen() const { return popup_ != nullptr; }
  SoftKeyPopup* popup() const { return popup_; }
  int open_key() const { return open_key_; }
  void ClosePopup();

  // The soft keys' rectangles (client coordinates) and the input-panel
  // button's (empty without it).
  Rect SoftKeyRect(int key) const;
  Rect InputPanelButtonRect() const;

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  int KeyAt(Point client) const;

  SoftMenu menu_;
  HWND owner_ = 0;
  bool input_panel_button_ = false;
  int pressed_key_ = -1;
  int open_key_ = -1;
  SoftKeyPopup* popup_ = nullptr;  // owns itself; told to close with the bar
};

// The input router asks this first for every key on the UI thread: true
// when an open pop-up or the active window's soft-key bar took it.
bool RouteSoftKeyInput(uint32_t vk, bool down);
// The soft-key bar of the active top-level window (the topmost visible one),
// or null.
SoftKeyBar* ActiveSoftKeyBar();

}  // namespace brantel
