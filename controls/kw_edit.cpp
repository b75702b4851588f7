#include "controls/kw_edit.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/pointer.h"

namespace brantel {

void CKWEdit::SetColors(COLORREF text, COLORREF background) {
  state_.SetColors(text, background);
  Invalidate();
}

void CKWEdit::SetHint(WideView text) {
  // The text first (its change notice goes out as an ordinary one), then the
  // grey look and the hint flag.
  SetText(text);
  state_.SetHint();
  Invalidate();
}

void CKWEdit::PostToParent(const KwEditNotices& notices) {
  if (!parent()) return;
  for (const KwEditNotice& n : notices) brantel::PostMessage(parent()->hwnd(), n.message, n.wParam, n.lParam);
}

void CKWEdit::OnTap(LPARAM lParam) {
  const Point screen = ClientToScreen(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  const HWND self = hwnd();
  const uint32_t gesture = RecognizeTapAndHold(self, screen, TAPHOLD_RETURN_COMMAND);
  if (!IsWindow(self)) return;  // gone while the recogniser waited
  if (gesture == GESTURE_CONTEXT_MENU && state_.context_command()) SetFocus(self);
  PostToParent(state_.Tap());
}

bool CKWEdit::OnEditCommand(int command) {
  switch (command) {
    case kKwEditUndo:
      if (Send(EM_CANUNDO)) Send(WM_UNDO);
      return true;
    case kKwEditCut:
      Send(WM_CUT);
      return true;
    case kKwEditCopy:
      Send(WM_COPY);
      return true;
    case kKwEditPaste:
      Send(WM_PASTE);
      return true;
    case kKwEditClear:
      Send(WM_CLEAR);
      return true;
    case kKwEditSelectAll:
      SetFocus(hwnd());
      Send(EM_SETSEL, 0, -1);
      Send(EM_SCROLLCARET);
      return true;
    default:
      return false;
  }
}

LRESULT CKWEdit::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      OnTap(lParam);
      if (!IsAlive()) return 0;
      return EditControl::WindowProc(message, wParam, lParam);
    case WM_CHAR: {
      const LRESULT result = EditControl::WindowProc(message, wParam, lParam);
      PostToParent(state_.Char(char16_t(wParam)));
      return result;
    }
    case WM_IME_STARTCOMPOSITION:
      state_.CompositionStart();
      return EditControl::WindowProc(message, wParam, lParam);
    case WM_IME_COMPOSITION: {
      const LRESULT result = EditControl::WindowProc(message, wParam, lParam);
      PostToParent(state_.CompositionUpdate());
      return result;
    }
    case WM_IME_ENDCOMPOSITION: {
      const LRESULT result = EditControl::WindowProc(message, wParam, lParam);
      PostToParent(state_.CompositionEnd());
      return result;
    }
    case WM_COMMAND:
      if (OnEditCommand(LOWORD(wParam))) return 0;
      return EditControl::WindowProc(message, wParam, lParam);
    default:
      return EditControl::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
