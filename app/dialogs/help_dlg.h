#pragma once
// CHelpDlg: the help shown at first start, over the dimmed screen: the
// scrolling help page, the "다시 보지않기" tick box and the OK button. OK
// with the tick writes display_info = 1 (the viewer then no longer shows
// it); closing tells the owner with WM_HELP_CLOSED, and the owner destroys
// the dialog (without an owner it destroys itself).

#include "app/dialogs/help_page_wnd.h"
#include "platform/gfx/surface.h"
#include "platform/ui/dialog.h"

namespace brantel {

inline constexpr Rect kHelpTickRect{36, 543, 358, 595};
inline constexpr Rect kHelpOkRect{142, 620, 338, 682};
inline constexpr Rect kHelpPageRect{23, 80, 458, 537};
inline constexpr char16_t kHelpSettingsKeyPath[] = u"SOFTWARE\\BRANTEL\\BrantelStock";
inline constexpr char16_t kHelpTurnedOffValue[] = u"display_info";

// The tick box and the OK button: a tap in the box toggles the tick; a
// press on OK marks it and a release there closes.
class HelpChoice {
 public:
  bool ticked() const { return ticked_; }
  bool ok_pressed() const { return ok_pressed_; }
  // Client coordinates of the press and release. Release returns true when
  // the dialog is to close.
  void Press(Point p);
  bool Release(Point p);

 private:
  bool ticked_ = false;
  bool ok_pressed_ = false;
};

// Writes display_info = 1 under HKEY_LOCAL_MACHINE
// "SOFTWARE\BRANTEL\BrantelStock" (best effort); IsHelpTurnedOff reads it.
void TurnHelpOff();
bool IsHelpTurnedOff();

class CHelpDlg : public Dialog {
 public:
  // Creates the dialog modeless, top-most over the work area, in portrait;
  // WM_HELP_CLOSED goes to `owner`.
  bool Open(Window* owner);

  const HelpChoice& choice() const { return choice_; }
  CHelpPageWnd& page() { return page_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override { Finish(); }
  void OnCancel() override { Finish(); }

 private:
  void Finish();
  void Paint();

  HWND owner_ = 0;
  HelpChoice choice_;
  CHelpPageWnd page_;
  Surface dimmed_;
};

}  // namespace brantel
