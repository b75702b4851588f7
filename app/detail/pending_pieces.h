#pragma once
// Temporary stand-ins for pieces another branch is building (the menu bar
// and the numbered message box). Each has the call of the real piece and
// goes when that piece is merged.

#include "platform/ui/window.h"

namespace brantel {

// The bottom soft-key bar (menu 234: "닫기" 40017 on the left).
class CMenuBarWnd : public Window {
 public:
  bool Create(const Rect& rect, Window* owner, int id);
  void ShowMenu(int number, bool keep_input_panel_button);
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
};

int ShowNumberedMessage(Window* owner, int number, int style);

}  // namespace brantel
