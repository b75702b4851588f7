#pragma once
// A watcher for the screen tests: it answers the numbered message boxes a
// screen shows and counts them by number.

#include <vector>

#include "app/dialogs/msg_box_dlg.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

namespace brantel::testing {

// Answers every message box with OK and keeps the texts it showed (spaces
// and line breaks taken out, as the box wraps them).
class MessageBoxWatcher {
 public:
  MessageBoxWatcher()
      : window_([this](uint32_t message, WPARAM, LPARAM) -> LRESULT {
          if (message == WM_TIMER) Look();
          return 0;
        }) {
    window_.SetTimer(1, 20);
  }
  const std::vector<WideText>& texts() const { return texts_; }
  static WideText Plain(WideView text) {
    WideText out;
    for (char16_t c : text)
      if (c != u' ' && c != u'\n' && c != u'\r') out += c;
    return out;
  }
  int Count(int number) const {
    const WideText want = Plain(ProcessResources()->String(uint32_t(number)));
    int n = 0;
    for (const WideText& t : texts_) n += t == want;
    return n;
  }

 private:
  void Look() {
    const HWND box = GetActiveWindow();
    auto* dlg = dynamic_cast<CMsgBoxDlg*>(WindowFromHandle(box));
    if (!dlg || box == answered_) return;
    WideText text;
    for (const WideText& line : dlg->lines()) text += line;
    texts_.push_back(Plain(text));
    answered_ = box;
    PostMessage(box, WM_COMMAND, IDOK, 0);
  }
  MessageOnlyWindow window_;
  std::vector<WideText> texts_;
  HWND answered_ = 0;
};

}  // namespace brantel::testing
