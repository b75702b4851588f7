#include "platform/ui/dialog.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"

namespace brantel {

Dialog::Dialog() = default;

Dialog::~Dialog() {
  // A dialog deleted while its loop runs ends that loop.
  if (modal_state_) {
    modal_state_->ended = true;
    modal_state_->result = IDCANCEL;
  }
}

bool Dialog::CreateDialogWindow(Window* owner, Window* parent, const Rect* child_rect, int id) {
  WindowParams p;
  p.class_name = class_name_param_;
  p.text = initial_text_;
  if (parent) {
    p.style = 0;
    p.rect = *child_rect;
    p.parent = parent;
    p.id = id;
    SetHearsShellEvents(true);
  } else {
    p.style = WS_POPUP;
    p.rect = has_rect_ ? initial_rect_ : GetWorkArea();
    p.owner = owner && owner->IsAlive() ? owner->TopLevel() : nullptr;
  }
  if (!Create(p)) return false;
  HWND self = hwnd();
  Send(WM_INITDIALOG, 0, 0);
  return IsWindow(self);
}

intptr_t Dialog::DoModal(Window* owner) {
  if (IsAlive()) return -1;
  ModalState state;
  modal_state_ = &state;
  modal_ = true;
  if (!CreateDialogWindow(owner)) {
    modal_state_ = nullptr;
    modal_ = false;
    return -1;
  }
  HWND self = hwnd();
  Window* top_owner = owner ? owner->TopLevel() : nullptr;
  HWND owner_hwnd = top_owner ? top_owner->hwnd() : 0;
  bool disabled_owner = false;
  if (top_owner && top_owner->IsEnabled()) {
    top_owner->Enable(false);
    disabled_owner = true;
  }
  if (!state.ended && IsWindow(self)) {
    Show(SW_SHOW);
    SetActiveWindow(self);
  }

  Message msg;
  while (!state.ended && IsWindow(self)) {
    if (!GetMessage(&msg, 0, 0, 0)) {
      // The application is quitting: end this loop and let the outer one see it.
      PostQuitMessage(int(msg.wParam));
      state.result = IDCANCEL;
      break;
    }
    if (PreDispatchMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }

  // The owner comes back before the dialog goes, so activation returns to it.
  if (disabled_owner) {
    if (Window* o = WindowFromHandle(owner_hwnd)) o->Enable(true);
  }
  if (Window* w = WindowFromHandle(self)) {
    Dialog* d = static_cast<Dialog*>(w);
    d->modal_state_ = nullptr;
    d->modal_ = false;
    d->Destroy();
  }
  if (owner_hwnd && IsWindow(owner_hwnd) && !GetActiveWindow()) SetActiveWindow(owner_hwnd);
  return state.result;
}

bool Dialog::CreateModeless(Window* owner) {
  if (IsAlive()) return false;
  modal_ = false;
  if (!CreateDialogWindow(owner)) return false;
  Show(SW_SHOW);
  return IsAlive();
}

bool Dialog::CreateChild(Window* parent, const Rect& rect, int id) {
  if (IsAlive() || !parent || !parent->IsAlive()) return false;
  modal_ = false;
  return CreateDialogWindow(nullptr, parent, &rect, id);
}

void Dialog::EndDialog(intptr_t result) {
  if (modal_state_) {
    modal_state_->ended = true;
    modal_state_->result = result;
    PostMessage(0, WM_NULL, 0, 0);  // let the nested loop look at the flag
    return;
  }
  Destroy();
}

LRESULT Dialog::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog() ? 1 : 0;
    case WM_COMMAND:
      if (lParam == 0 || LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        if (LOWORD(wParam) == IDOK) {
          OnOK();
          return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          OnCancel();
          return 0;
        }
      }
      return 0;
    case WM_CLOSE:
      Send(WM_COMMAND, IDCANCEL, 0);
      return 0;
    default:
      return Window::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
