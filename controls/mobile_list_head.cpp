#include "controls/mobile_list_head.h"

#include "controls/image_drawing.h"
#include "controls/mobile_list_rows.h"
#include "platform/gfx/device_context.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/app_messages.h"

namespace brantel {
namespace {

constexpr COLORREF kIndicatorKey = 0xFF00FF;
constexpr unsigned kAlignment = DT_CENTER | DT_RIGHT;
constexpr unsigned kWrapped = DT_WORDBREAK | DT_EDITCONTROL | DT_WORD_ELLIPSIS;

}  // namespace

CMobileListHead::CMobileListHead() : font_(u"벨탄고딕", 20, FW_BOLD) {}

bool CMobileListHead::Create(const Rect& rect, Window* parent, HWND notify, ResourceLibraryRef library, int id) {
  if (!IsWindowClassRegistered(kMobileListHeadClass)) RegisterWindowClass(kMobileListHeadClass);
  notify_ = notify;
  library_ = std::move(library);
  return Window::Create(kMobileListHeadClass, u"", WS_VISIBLE, rect, parent, id);
}

void CMobileListHead::AddColumn(int column_id, int width, WideView caption, const Rect& hit, unsigned style) {
  MobileListColumn column;
  column.column_id = column_id;
  const int left = columns_.empty() ? 0 : columns_.back().rect.right;
  column.rect = Rect{left, 0, left + width, ClientRect().Height()};
  column.hit = hit.IsEmpty() ? column.rect : hit;
  column.captions = SplitAlternatives(caption);
  column.style = style;
  columns_.push_back(std::move(column));
  Invalidate();
}

const MobileListColumn* CMobileListHead::FindColumn(int column_id) const {
  for (const auto& column : columns_)
    if (column.column_id == column_id) return &column;
  return nullptr;
}

void CMobileListHead::SetShown(int column_id, int index) {
  for (auto& column : columns_) {
    if (column.column_id != column_id) continue;
    column.shown = index >= 0 && index < int(column.captions.size()) ? index : 0;
    Invalidate();
  }
}

void CMobileListHead::SetBackgroundImage(uint32_t image_id) {
  background_ = library_ && image_id ? library_->DecodedPicture(kPictureTypeGif, image_id) : nullptr;
  Invalidate();
}

void CMobileListHead::SetIndicator(uint32_t image_id, const Rect& rect) {
  indicator_id_ = image_id;
  indicator_ = library_ && image_id ? library_->DecodedPicture(kPictureTypeGif, image_id) : nullptr;
  indicator_rect_ = rect;
  Invalidate();
}

int CMobileListHead::HitColumn(Point p) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].hit.Contains(p)) return int(i);
  return -1;
}

void CMobileListHead::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  const Rect client = ClientRect();
  if (buffer_.width() != client.Width() || buffer_.height() != client.Height())
    buffer_.Resize(client.Width(), client.Height());
  DeviceContext dc(buffer_);
  dc.FillSolid(client, background_color_);
  if (background_) StretchImage(dc, client, *background_);
  dc.SetBkMode(TRANSPARENT);
  dc.SelectFont(font_);
  dc.SetTextColor(text_color_);
  for (const auto& column : columns_) {
    if (column.captions.size() >= 2 && indicator_id_) {
      const Rect where = indicator_rect_.Offset(column.rect.left, 0);
      if (indicator_) DrawImageTransparent(dc, where, *indicator_, kIndicatorKey);
    }
    const WideView caption = column.captions[size_t(column.shown)];
    unsigned format = column.style | DT_SINGLELINE | DT_VCENTER;
    if (dc.GetTextExtent(caption).cx > column.rect.Width()) format = kWrapped | (column.style & kAlignment);
    dc.DrawText(caption, column.rect, format);
  }
  paint.dc().BitBlt(0, 0, client.Width(), client.Height(), buffer_, 0, 0);
}

LRESULT CMobileListHead::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd());
      pressed_column_ = HitColumn(point);
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() == hwnd()) ReleaseCapture();
      const int hit = HitColumn(point);
      const int pressed = pressed_column_;
      pressed_column_ = -1;
      if (hit < 0 || hit != pressed) return 0;
      MobileListColumn& column = columns_[size_t(hit)];
      if (column.captions.size() < 2) return 0;
      column.shown = (column.shown + 1) % int(column.captions.size());
      Invalidate();
      brantel::SendMessage(notify_, WM_MOBILELIST_COLUMN, WPARAM(column.column_id), LPARAM(column.shown));
      return 0;
    }
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
