#include "app/search/search_dlg.h"

#include "app/startup/viewer_exit.h"
#include "platform/ui/paint.h"
#include "protocol/app_messages.h"

namespace brantel {

CSearchDlg::CSearchDlg(Window* main_dialog) : main_dialog_(main_dialog) { SetClassName(u"CSearchDlg"); }

bool CSearchDlg::Create(const Rect& rect) { return CreateChild(main_dialog_, rect, 106); }

LRESULT CSearchDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      paint.dc().FillSolid(ClientRect(), RGB(0, 0, 0));
      return 0;
    }
    case WM_SCREEN_BACK:
      // Nothing open on this screen: back and the system keys end the viewer.
      PostViewerExit(main_dialog_->hwnd());
      return 0;
    default:
      return CBaseScreenDlg::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
