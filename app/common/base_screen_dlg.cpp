#include "app/common/base_screen_dlg.h"

#include "app/rotation.h"
#include "platform/ui/shell.h"

namespace brantel {

namespace {
// WM_SETTINGCHANGE values passed on without hiding the input-panel button
// again: the input panel's own change and the range the shell uses for it,
// and the one the device sends while the screen turns.
constexpr WPARAM kInputPanelChange = 224;
constexpr WPARAM kShellRangeFirst = 223;
constexpr WPARAM kShellRangeLast = 250;
constexpr WPARAM kOrientationReset = 12290;
}  // namespace

bool CBaseScreenDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  // A child screen fills the part of the main dialog it is placed in; only
  // a top-level screen takes the whole work area.
  if (IsTopLevel()) MakeFullScreenDialog(hwnd());
  ShowInputPanelButton(false);
  return true;
}

LRESULT CBaseScreenDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        ApplyRotationLock(true, true);
        ShowInputPanelButton(false);
      } else {
        ApplyRotationLock(false, lParam != 0);
      }
      // A child screen hears its top-level's activation but leaves the focus
      // where the top-level put it.
      if (IsChild()) return 0;
      break;
    case WM_SETTINGCHANGE:
      if (wParam != kInputPanelChange && (wParam < kShellRangeFirst || wParam > kShellRangeLast) &&
          wParam != kOrientationReset)
        ShowInputPanelButton(false);
      break;
    default:
      break;
  }
  return Dialog::WindowProc(message, wParam, lParam);
}

}  // namespace brantel
