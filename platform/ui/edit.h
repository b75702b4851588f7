#pragma once
// The edit control: single line with automatic horizontal scrolling, or
// multi-line (ES_MULTILINE) with word wrap; caret, selection by finger and by
// Shift with the arrows, Home and End; one level of undo; cut, copy, paste
// and clear through platform/ui/clipboard.h; input-method composition shown
// underlined at the caret.
//
// Messages with their device meaning: WM_SETTEXT, WM_GETTEXT,
// WM_GETTEXTLENGTH, WM_UNDO/EM_UNDO, WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR,
// EM_SETSEL, EM_GETSEL, EM_REPLACESEL, EM_CANUNDO, EM_EMPTYUNDOBUFFER,
// EM_SCROLLCARET, EM_GETLINECOUNT, EM_LIMITTEXT. Keys: the arrows, Home,
// End, Delete, and with Control held A (select all), C, X, V, Z; the
// control characters 1, 3, 22, 24, 26 do the same.
//
// To the parent: WM_COMMAND (MAKEWPARAM(id, EN_CHANGE), the edit's handle)
// after every change of the text, WM_SETTEXT included; WM_CTLCOLOREDIT
// before each paint (see EditColors in edit_painting.h).
//
// The caret blinks on a window timer that runs only while the edit has the
// focus.

#include "platform/gfx/font.h"
#include "platform/ui/edit_model.h"
#include "platform/ui/edit_painting.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr char16_t kEditClass[] = u"EDIT";

class EditControl : public Window {
 public:
  static constexpr uintptr_t kCaretTimer = 0xED17;
  static constexpr uint32_t kCaretBlinkMs = 500;

  EditControl();

  // `style`: WS_VISIBLE, WS_DISABLED, ES_MULTILINE.
  bool Create(WideView text, uint32_t style, const Rect& rect, Window* parent, int id);
  void SetFont(const Font& font);
  const Font& font() const { return font_; }
  const EditModel& model() const { return model_; }
  bool caret_on() const { return caret_on_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // The colours of the next paint: asks the parent with WM_CTLCOLOREDIT.
  // A control that colours itself overrides it.
  virtual void QueryColors(EditColors& colors);

 private:
  void Paint();
  void OnKeyDown(uint32_t key);
  // Control characters and Control+letter: true when handled.
  bool OnCommandKey(char16_t code);
  void SelectAll();
  void Copy();
  void Paste();
  void Cut();
  // After the text changed: keeps the window text, repaints, sends EN_CHANGE.
  void Changed();
  // After the caret or selection moved.
  void Moved();
  void RestartCaret();

  EditModel model_;
  Font font_;
  bool caret_on_ = true;
  bool focused_ = false;
  bool dragging_ = false;
};

}  // namespace brantel
