#include "controls/mobile_list.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/app_messages.h"

namespace brantel {

bool CMobileList::Create(const Rect& rect, Window* owner, ResourceLibraryRef library, int id, uint32_t style) {
  if (!IsWindowClassRegistered(kMobileListClass)) RegisterWindowClass(kMobileListClass);
  library_ = std::move(library);
  if (!Window::Create(kMobileListClass, u"", style | WS_VISIBLE, rect, owner, id)) return false;
  return body_.Create(ClientRect(), this, hwnd(), library_);
}

void CMobileList::AddHeader(int height) {
  const Rect client = ClientRect();
  if (!head_.IsAlive()) head_.Create(Rect{0, 0, client.right, height}, this, hwnd(), library_);
  body_.Resize(client.Width(), client.Height() - height);
  body_.Move(Rect{0, height, client.right, client.bottom});
}

void CMobileList::AddHeaderColumn(int column_id, int width, WideView caption, const Rect& hit, unsigned style) {
  if (head_.IsAlive()) head_.AddColumn(column_id, width, caption, hit, style);
}

void CMobileList::SetColumnAlternative(int column_id, int index) {
  head_.SetShown(column_id, index);
  if (const MobileListColumn* column = head_.FindColumn(column_id))
    body_.ShowColumnAlternative(column_id, column->shown);
}

void CMobileList::SetHeaderImages(uint32_t background_id, uint32_t indicator_id, const Rect& indicator_rect) {
  if (!head_.IsAlive()) return;
  head_.SetBackgroundImage(background_id);
  head_.SetIndicator(indicator_id, indicator_rect);
}

LRESULT CMobileList::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOBILELIST_CLICK:
      return parent() ? brantel::SendMessage(parent()->hwnd(), message, wParam, lParam) : 0;
    case WM_MOBILELIST_COLUMN: {
      const LRESULT result = parent() ? brantel::SendMessage(parent()->hwnd(), message, wParam, lParam) : 0;
      if (IsAlive()) body_.ShowColumnAlternative(int(wParam), int(lParam));
      return result;
    }
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
