#include "platform/ui/edit.h"

#include <algorithm>

#include "platform/ui/clipboard.h"
#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"

namespace brantel {

EditControl::EditControl() { SetFont(DefaultFont()); }

bool EditControl::Create(WideView text, uint32_t style, const Rect& rect, Window* parent, int id) {
  return Window::Create(kEditClass, text, style, rect, parent, id);
}

void EditControl::SetFont(const Font& font) {
  font_ = font.valid() ? font : DefaultFont();
  model_.SetFont(font_);
  if (IsAlive()) {
    model_.ScrollCaretIntoView();
    Invalidate();
  }
}

void EditControl::QueryColors(EditColors& colors) {
  if (parent()) brantel::SendMessage(parent()->hwnd(), WM_CTLCOLOREDIT, WPARAM(&colors), LPARAM(hwnd()));
}

void EditControl::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  EditColors colors;
  QueryColors(colors);
  PaintEdit(paint.dc(), ClientRect(), model_, font_, colors, focused_, caret_on_);
}

void EditControl::RestartCaret() {
  caret_on_ = true;
  if (focused_) SetTimer(kCaretTimer, kCaretBlinkMs);
}

void EditControl::Changed() {
  DefWindowProc(WM_SETTEXT, 0, LPARAM(model_.text().c_str()));
  RestartCaret();
  Invalidate();
  if (parent())
    brantel::SendMessage(parent()->hwnd(), WM_COMMAND, MAKEWPARAM(uint32_t(id()), EN_CHANGE), LPARAM(hwnd()));
}

void EditControl::Moved() {
  model_.ScrollCaretIntoView();
  RestartCaret();
  Invalidate();
}

void EditControl::SelectAll() {
  model_.SetSelection(0, -1);
  Moved();
}

void EditControl::Copy() {
  if (model_.HasSelection()) SetClipboardText(model_.SelectedText());
}

void EditControl::Cut() {
  if (!model_.HasSelection()) return;
  Copy();
  if (model_.ReplaceSelection(u"")) Changed();
}

void EditControl::Paste() {
  const WideText text = GetClipboardText();
  if (!text.empty() && model_.ReplaceSelection(text)) Changed();
}

bool EditControl::OnCommandKey(char16_t code) {
  switch (code) {
    case 1:  // Control+A
      SelectAll();
      return true;
    case 3:
      Copy();
      return true;
    case 22:
      Paste();
      return true;
    case 24:
      Cut();
      return true;
    case 26:
      if (model_.Undo()) Changed();
      return true;
    default:
      return false;
  }
}

void EditControl::OnKeyDown(uint32_t key) {
  const bool shift = IsKeyDown(VK_SHIFT);
  if (IsKeyDown(VK_CONTROL) && key >= 'A' && key <= 'Z') {
    OnCommandKey(char16_t(key - 'A' + 1));
    return;
  }
  using Move = EditModel::Move;
  switch (key) {
    case VK_LEFT: model_.MoveCaret(Move::kLeft, shift); break;
    case VK_RIGHT: model_.MoveCaret(Move::kRight, shift); break;
    case VK_UP: model_.MoveCaret(Move::kUp, shift); break;
    case VK_DOWN: model_.MoveCaret(Move::kDown, shift); break;
    case VK_HOME: model_.MoveCaret(Move::kHome, shift); break;
    case VK_END: model_.MoveCaret(Move::kEnd, shift); break;
    case VK_DELETE:
      if (model_.DeleteForward()) Changed();
      return;
    default:
      return;
  }
  Moved();
}

LRESULT EditControl::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      model_.SetMultiline(style() & ES_MULTILINE);
      model_.SetText(text());
      model_.SetView(rect().Width(), rect().Height());
      return 0;
    case WM_SIZE:
      model_.SetView(rect().Width(), rect().Height());
      Invalidate();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETFOCUS:
      focused_ = true;
      RestartCaret();
      Invalidate();
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      KillTimer(kCaretTimer);
      model_.SetComposition(u"");
      Invalidate();
      return 0;
    case WM_TIMER:
      if (wParam == kCaretTimer) {
        caret_on_ = !caret_on_;
        Invalidate();
      }
      return 0;
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd()) SetFocus(hwnd());
      model_.PlaceCaret(model_.PositionAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), IsKeyDown(VK_SHIFT));
      SetCapture(hwnd());
      dragging_ = true;
      Moved();
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        model_.PlaceCaret(model_.PositionAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), true);
        Moved();
      }
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) ReleaseCapture();
      dragging_ = false;
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(uint32_t(wParam));
      return 0;
    case WM_CHAR:
      if (!OnCommandKey(char16_t(wParam)) && model_.TypeChar(char16_t(wParam))) Changed();
      return 0;
    case WM_IME_STARTCOMPOSITION:
      return 0;
    case WM_IME_COMPOSITION:
      // The composed character is shown; the finished one comes as WM_CHAR.
      model_.SetComposition((lParam & GCS_COMPSTR) && wParam ? WideText(1, char16_t(wParam)) : WideText());
      Moved();
      return 0;
    case WM_IME_ENDCOMPOSITION:
      model_.SetComposition(u"");
      Moved();
      return 0;
    case WM_SETTEXT:
      model_.SetText(lParam ? WideView(reinterpret_cast<const char16_t*>(lParam)) : WideView());
      Changed();
      return 1;
    case WM_UNDO:
    case EM_UNDO:
      if (!model_.Undo()) return 0;
      Changed();
      return 1;
    case WM_CUT:
      Cut();
      return 0;
    case WM_COPY:
      Copy();
      return 0;
    case WM_PASTE:
      Paste();
      return 0;
    case WM_CLEAR:
      if (model_.HasSelection() && model_.ReplaceSelection(u"")) Changed();
      return 0;
    case EM_REPLACESEL:
      if (model_.ReplaceSelection(lParam ? WideView(reinterpret_cast<const char16_t*>(lParam)) : WideView())) {
        if (!wParam) model_.EmptyUndo();
        Changed();
      }
      return 0;
    case EM_SETSEL:
      model_.SetSelection(long(int32_t(wParam)), long(int32_t(lParam)));
      Moved();
      return 0;
    case EM_GETSEL: {
      const uint32_t start = uint32_t(model_.sel_start()), end = uint32_t(model_.sel_end());
      if (wParam) *reinterpret_cast<uint32_t*>(wParam) = start;
      if (lParam) *reinterpret_cast<uint32_t*>(lParam) = end;
      return LRESULT(MAKELPARAM(std::min<uint32_t>(start, 0xFFFF), std::min<uint32_t>(end, 0xFFFF)));
    }
    case EM_CANUNDO:
      return model_.CanUndo() ? 1 : 0;
    case EM_EMPTYUNDOBUFFER:
      model_.EmptyUndo();
      return 0;
    case EM_SCROLLCARET:
      Moved();
      return 1;
    case EM_GETLINECOUNT:
      return model_.LineCount();
    case EM_LIMITTEXT:
      model_.SetLimit(size_t(wParam));
      return 0;
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
