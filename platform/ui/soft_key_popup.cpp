#include "platform/ui/soft_key_popup.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gfx/font.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"

namespace brantel {
namespace {

constexpr COLORREF kPopupBack = RGB(0x26, 0x26, 0x26);
constexpr COLORREF kPopupFrame = RGB(0x5A, 0x5A, 0x5A);
constexpr COLORREF kSeparator = RGB(0x4A, 0x4A, 0x4A);
constexpr COLORREF kHighlight = RGB(0x1E, 0x5A, 0xA0);
constexpr int kTextLeft = 52;   // room for the tick
constexpr int kTextRight = 24;
constexpr int kDragSlop = 8;     // pixels a press may move before it scrolls
constexpr int kThumbWidth = 4;
constexpr COLORREF kThumb = RGB(0xA0, 0xA0, 0xA0);

const Font& PopupFont() {
  static const Font font(kGothicFace, kSoftPopupFontHeight);
  return font;
}

bool Choosable(const SoftMenuItem& item) { return !item.separator && !item.popup; }

void DrawTick(DeviceContext& dc, const Rect& item) {
  dc.SelectPen(Pen{PS_SOLID, 3, RGB(0xFF, 0xFF, 0xFF)});
  int cy = (item.top + item.bottom) / 2;
  dc.MoveTo(18, cy);
  dc.LineTo(25, cy + 7);
  dc.LineTo(38, cy - 8);
}

}  // namespace

SoftPopupLayout LayoutSoftPopup(const SoftMenu& menu, int key, const Rect& bar_screen_rect) {
  SoftPopupLayout out;
  int text_width = 0;
  int height = 2 * kSoftPopupPadding;
  for (const SoftMenuItem& item : menu.items()) {
    if (!item.separator) text_width = std::max(text_width, PopupFont().MeasureText(item.caption).cx);
    height += item.separator ? kSoftPopupSeparatorHeight : kSoftPopupItemHeight;
  }
  Size screen = GetScreenSize();
  int width = std::clamp(text_width + kTextLeft + kTextRight, 220, screen.cx);
  int bottom = bar_screen_rect.top;
  int top = std::max(bottom - height, GetWorkArea().top);
  int left = key == 0 ? bar_screen_rect.left : bar_screen_rect.right - width;
  left = std::clamp(left, 0, std::max(0, screen.cx - width));
  out.window = Rect{left, top, left + width, bottom};
  out.content_height = height;
  int y = kSoftPopupPadding;
  for (const SoftMenuItem& item : menu.items()) {
    int h = item.separator ? kSoftPopupSeparatorHeight : kSoftPopupItemHeight;
    out.items.push_back(Rect{0, y, width, y + h});
    y += h;
  }
  return out;
}

int NextSoftPopupItem(const SoftMenu& menu, int from, int step) {
  int n = int(menu.ItemCount());
  if (n == 0) return -1;
  int i = from;
  for (int tries = 0; tries < n; ++tries) {
    if (i < 0)
      i = step > 0 ? 0 : n - 1;
    else
      i = (i + step + n) % n;
    if (Choosable(*menu.ItemAt(size_t(i)))) return i;
  }
  return -1;
}

SoftKeyPopup::SoftKeyPopup(SoftMenu& menu, std::function<void(uint32_t)> on_choice, std::function<void()> on_gone)
    : menu_(menu), on_choice_(std::move(on_choice)), on_gone_(std::move(on_gone)) {}

bool SoftKeyPopup::Open(const SoftPopupLayout& layout) {
  layout_ = layout;
  WindowParams p;
  p.class_name = u"SoftKeyPopup";
  p.rect = layout.window;
  p.top_most = true;
  p.no_activate = true;
  if (!Create(p)) return false;
  SetCapture(hwnd());
  return true;
}

int SoftKeyPopup::ItemAt(Point client) const {
  if (!ClientRect().Contains(client)) return -1;
  const Point content{client.x, client.y + scroll_};
  for (size_t i = 0; i < layout_.items.size(); ++i)
    if (layout_.items[i].Contains(content) && Choosable(*menu_.ItemAt(i))) return int(i);
  return -1;
}

void SoftKeyPopup::ScrollTo(int scroll) {
  scroll = std::clamp(scroll, 0, layout_.MaxScroll());
  if (scroll == scroll_) return;
  scroll_ = scroll;
  Invalidate();
}

void SoftKeyPopup::ScrollIntoView(int index) {
  if (index < 0 || size_t(index) >= layout_.items.size()) return;
  const Rect& item = layout_.items[size_t(index)];
  const int view = ClientRect().Height();
  // The padding goes with the first and last items, so the ends show whole.
  const int top = index == 0 ? 0 : item.top;
  const int bottom = size_t(index) + 1 == layout_.items.size() ? layout_.content_height : item.bottom;
  if (top < scroll_)
    ScrollTo(top);
  else if (bottom > scroll_ + view)
    ScrollTo(bottom - view);
}

void SoftKeyPopup::SetHighlight(int index) {
  if (index == highlight_) return;
  highlight_ = index;
  Invalidate();
}

bool SoftKeyPopup::HandleKey(uint32_t vk) {
  switch (vk) {
    case VK_DOWN:
      SetHighlight(NextSoftPopupItem(menu_, highlight_, +1));
      ScrollIntoView(highlight_);
      return true;
    case VK_UP:
      SetHighlight(NextSoftPopupItem(menu_, highlight_, -1));
      ScrollIntoView(highlight_);
      return true;
    case VK_RETURN:
      if (highlight_ >= 0) Choose(highlight_);
      return true;
    case VK_TBACK:
      Close();
      return true;
    default:
      return false;
  }
}

void SoftKeyPopup::Choose(int index) {
  uint32_t id = menu_.ItemId(size_t(index));
  auto on_choice = on_choice_;  // the object is gone after Close
  Close();
  if (on_choice && id != 0 && id != kSoftMenuPopupId) on_choice(id);
}

LRESULT SoftKeyPopup::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY:
      closing_ = true;
      if (GetCapture() == hwnd()) ReleaseCapture();
      return 0;
    case WM_LBUTTONDOWN: {
      Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (!ClientRect().Contains(p)) {  // a tap outside closes; its release is spent too
        dismissed_ = true;
        Show(false);
        return 0;
      }
      pressed_inside_ = true;
      dragging_ = false;
      press_y_ = p.y;
      press_scroll_ = scroll_;
      SetHighlight(ItemAt(p));
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!pressed_inside_) return 0;
      const Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      // Only a menu that scrolls turns a press into a drag.
      if (!dragging_ && layout_.MaxScroll() > 0 && std::abs(p.y - press_y_) > kDragSlop) dragging_ = true;
      if (dragging_) {
        SetHighlight(-1);
        ScrollTo(press_scroll_ - (p.y - press_y_));
      } else {
        SetHighlight(ItemAt(p));
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      const int notches = int(int16_t(HIWORD(wParam))) / WHEEL_DELTA;
      ScrollTo(scroll_ - notches * kSoftPopupItemHeight);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (dismissed_) {
        Close();
        return 0;
      }
      if (!pressed_inside_) return 0;
      pressed_inside_ = false;
      if (dragging_) {
        dragging_ = false;
        return 0;
      }
      int index = ItemAt(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (index >= 0 && index == highlight_) Choose(index);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (!closing_ && HWND(lParam) != hwnd()) Close();  // someone else took the pointer
      return 0;
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

void SoftKeyPopup::Paint() {
  PaintScope paint(*this);
  DeviceContext& dc = paint.dc();
  Rect client = ClientRect();
  dc.FillSolid(client, kPopupBack);
  dc.SelectPen(Pen{PS_SOLID, 1, kPopupFrame});
  dc.FrameRect(client);
  dc.SelectFont(PopupFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  for (size_t i = 0; i < layout_.items.size(); ++i) {
    const SoftMenuItem& item = *menu_.ItemAt(i);
    Rect r = layout_.items[i].Offset(0, -scroll_);
    if (r.bottom <= 0 || r.top >= client.bottom) continue;
    if (item.separator) {
      int y = (r.top + r.bottom) / 2;
      dc.FillSolid(Rect{12, y, r.right - 12, y + 1}, kSeparator);
      continue;
    }
    if (int(i) == highlight_) dc.FillSolid(Rect{1, r.top, r.right - 1, r.bottom}, kHighlight);
    if (item.checked) DrawTick(dc, r);
    dc.SetTextColor(item.popup ? RGB(0x80, 0x80, 0x80) : RGB(0xFF, 0xFF, 0xFF));
    dc.DrawText(item.caption, Rect{kTextLeft, r.top, r.right - kTextRight, r.bottom},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  // A menu that scrolls shows where its view lies.
  if (const int max = layout_.MaxScroll(); max > 0) {
    const int view = client.Height();
    const int length = std::max(view * view / layout_.content_height, 20);
    const int top = (view - length) * scroll_ / max;
    dc.FillSolid(Rect{client.right - kThumbWidth - 2, top, client.right - 2, top + length}, kThumb);
  }
}

void SoftKeyPopup::OnFinalDestroy() {
  auto on_gone = std::move(on_gone_);
  if (on_gone) on_gone();
  delete this;
}

}  // namespace brantel
