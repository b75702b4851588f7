#pragma once
// Dialogs: top-level windows that run modal (a nested message loop until
// EndDialog) or modeless. WM_INITDIALOG is sent once the window exists; a
// WM_COMMAND with IDOK or IDCANCEL calls OnOK / OnCancel, which end a modal
// dialog (and destroy a modeless one).

#include "platform/ui/window.h"

namespace brantel {

class Dialog : public Window {
 public:
  Dialog();
  ~Dialog() override;

  // Where the dialog appears and its title; set before running it. The
  // default is the work area (the screen below the system bar).
  void SetInitialRect(const Rect& screen_rect) { initial_rect_ = screen_rect; has_rect_ = true; }
  void SetInitialText(WideView text) { initial_text_ = WideText(text); }
  void SetClassName(WideView class_name) { class_name_param_ = WideText(class_name); }

  // Runs modal: the owner (when given) is disabled, the dialog activated, and
  // a nested loop runs until EndDialog; the owner is enabled and activated
  // again and the window destroyed. Returns the EndDialog result, or -1 when
  // the dialog could not be created. A WM_QUIT seen by the nested loop ends it
  // (result IDCANCEL) and is posted again for the outer loop.
  intptr_t DoModal(Window* owner = nullptr);
  // Creates the dialog modeless, owned by `owner`, and returns at once.
  bool CreateModeless(Window* owner = nullptr);
  // Creates the dialog as a child window of `parent` at `rect` (parent's
  // client coordinates), hidden until shown. It gets WM_INITDIALOG, its
  // pre-dispatch hook is asked for messages to it and its descendants, and
  // while visible it hears its top-level window's WM_ACTIVATE and
  // WM_SETTINGCHANGE. OnOK / OnCancel destroy it, as for a modeless one.
  bool CreateChild(Window* parent, const Rect& rect, int id = 0);
  void EndDialog(intptr_t result);
  bool IsModal() const { return modal_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // WM_INITDIALOG. Return true to let the default focus go to the dialog.
  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

 private:
  struct ModalState {
    bool ended = false;
    intptr_t result = 0;
  };
  bool CreateDialogWindow(Window* owner, Window* parent = nullptr, const Rect* child_rect = nullptr, int id = 0);

  ModalState* modal_state_ = nullptr;  // the running nested loop's, if any
  Rect initial_rect_;
  bool has_rect_ = false;
  WideText initial_text_;
  WideText class_name_param_ = u"Dialog";
  bool modal_ = false;
};

}  // namespace brantel
