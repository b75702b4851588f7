#include "app/detail/pending_pieces.h"

#include "controls/viewer_fonts.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "protocol/app_messages.h"

namespace brantel {

bool CMenuBarWnd::Create(const Rect& rect, Window* owner, int id) {
  return Window::Create(u"Menu Bar Window", u"", WS_VISIBLE, rect, owner, id);
}

void CMenuBarWnd::ShowMenu(int, bool) { Invalidate(); }

LRESULT CMenuBarWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintScope paint(*this);
    DeviceContext& dc = paint.dc();
    dc.FillSolid(ClientRect(), 0x202020);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectFont(ViewerFont(24));
    dc.SetTextColor(0xFFFFFF);
    const Rect r = ClientRect();
    dc.DrawText(u"닫기", Rect{0, 0, r.right / 2, r.bottom}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawText(u"메뉴", Rect{r.right / 2, 0, r.right, r.bottom}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return 0;
  }
  if (message == WM_LBUTTONUP && GET_X_LPARAM(lParam) < ClientRect().right / 2 && parent()) {
    parent()->Post(WM_COMMAND, 40017, 0);
    return 0;
  }
  return Window::WindowProc(message, wParam, lParam);
}

int ShowNumberedMessage(Window*, int, int) { return 1; }

}  // namespace brantel
