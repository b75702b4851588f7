#include "app/common/empty_list_hint.h"

#include "controls/viewer_fonts.h"
#include "platform/ui/paint.h"

namespace brantel {

bool CEmptyListHint::Create(Window* parent, const Rect& rect, WideView text) {
  return Window::Create(u"EmptyListHint", text, WS_DISABLED, rect, parent);
}

LRESULT CEmptyListHint::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProc(message, wParam, lParam);
  PaintScope paint(*this);
  DeviceContext& dc = paint.dc();
  dc.FillSolid(ClientRect(), 0x000000);
  dc.SetBkMode(TRANSPARENT);
  dc.SelectFont(ViewerFont(kEmptyListHintFontHeight));
  dc.SetTextColor(kEmptyListHintColour);
  dc.DrawText(text(), ClientRect(), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  return 0;
}

}  // namespace brantel
