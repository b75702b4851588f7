#include "platform/ui/soft_key_bar.h"

#include <algorithm>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/shell.h"

namespace brantel {
namespace {

constexpr COLORREF kBarBack = RGB(0x1A, 0x1A, 0x1A);
constexpr COLORREF kBarLine = RGB(0x3C, 0x3C, 0x3C);
constexpr COLORREF kPressed = RGB(0x1E, 0x5A, 0xA0);
constexpr int kInputPanelButtonWidth = 80;

// The bars that exist, oldest first (UI thread only).
std::vector<SoftKeyBar*>& Bars() {
  static auto* bars = new std::vector<SoftKeyBar*>();
  return *bars;
}
SoftKeyPopup* g_open_popup = nullptr;

const Font& BarFont() {
  static const Font font(kGothicFace, 28);
  return font;
}

void DrawKeyboardGlyph(DeviceContext& dc, const Rect& r) {
  Rect body{r.left + 22, r.top + 14, r.right - 22, r.bottom - 14};
  dc.SelectPen(Pen{PS_SOLID, 2, RGB(0xD0, 0xD0, 0xD0)});
  dc.FrameRect(body);
  for (int row = 0; row < 2; ++row)
    for (int x = body.left + 6; x + 4 < body.right - 4; x += 8)
      dc.FillSolid(Rect::FromSize(x, body.top + 6 + row * 7, 4, 3), RGB(0xD0, 0xD0, 0xD0));
}

}  // namespace

SoftKeyBar::~SoftKeyBar() {
  ClosePopup();
  std::erase(Bars(), this);
}

bool SoftKeyBar::Create(Window& parent, HWND owner, const ResourceMenu& menu, bool input_panel_button, int id) {
  menu_ = SoftMenu(menu);
  owner_ = owner;
  input_panel_button_ = input_panel_button;
  Rect client = parent.ClientRect();
  Rect r{0, client.bottom - kSoftKeyBarHeight, client.right, client.bottom};
  if (!Window::Create(u"SoftKeyBar", u"", WS_VISIBLE, r, &parent, id)) return false;
  ShowInputPanelButton(input_panel_button);
  Bars().push_back(this);
  return true;
}

Rect SoftKeyBar::InputPanelButtonRect() const {
  if (!input_panel_button_) return Rect{};
  int mid = ClientRect().Width() / 2;
  return Rect{mid - kInputPanelButtonWidth / 2, 0, mid + kInputPanelButtonWidth / 2, kSoftKeyBarHeight};
}

Rect SoftKeyBar::SoftKeyRect(int key) const {
  int w = ClientRect().Width();
  int gap = input_panel_button_ ? kInputPanelButtonWidth / 2 : 0;
  return key == 0 ? Rect{0, 0, w / 2 - gap, kSoftKeyBarHeight} : Rect{w / 2 + gap, 0, w, kSoftKeyBarHeight};
}

int SoftKeyBar::KeyAt(Point client) const {
  for (int key = 0; key < 2; ++key)
    if (SoftKeyRect(key).Contains(client) && menu_.ItemAt(size_t(key))) return key;
  return -1;
}

void SoftKeyBar::PressSoftKey(int key) {
  bool was_open = open_key_ == key;
  ClosePopup();
  const SoftMenuItem* item = menu_.ItemAt(size_t(key));
  if (!item || item->separator || was_open) return;  // pressing an open key closes its pop-up
  if (!item->popup) {
    if (item->id) PostMessage(owner_, WM_COMMAND, item->id, 0);
    return;
  }
  HWND self = hwnd();
  SendMessage(owner_, WM_INITMENUPOPUP, WPARAM(item->popup.get()), LPARAM(key));
  if (!IsWindow(self) || !IsWindowVisible(self)) return;  // the owner took the bar away
  SoftMenu* popup_menu = menu_.SubMenu(size_t(key));  // the owner may have replaced items
  if (!popup_menu || popup_menu->ItemCount() == 0) return;
  SoftPopupLayout layout = LayoutSoftPopup(*popup_menu, key, ScreenRect());
  HWND owner = owner_;
  auto* popup = new SoftKeyPopup(
      *popup_menu, [owner](uint32_t id) { PostMessage(owner, WM_COMMAND, id, 0); },
      [self] {
        g_open_popup = nullptr;
        if (auto* bar = dynamic_cast<SoftKeyBar*>(WindowFromHandle(self))) {
          bar->popup_ = nullptr;
          bar->open_key_ = -1;
          bar->Invalidate();
        }
      });
  if (!popup->Open(layout)) {
    delete popup;
    return;
  }
  popup_ = popup;
  open_key_ = key;
  g_open_popup = popup;
  Invalidate();
}

void SoftKeyBar::ClosePopup() {
  if (popup_) popup_->Close();  // its goodbye clears popup_
  popup_ = nullptr;
  open_key_ = -1;
}

LRESULT SoftKeyBar::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN: {
      Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      pressed_key_ = InputPanelButtonRect().Contains(p) ? 2 : KeyAt(p);
      SetCapture(hwnd());
      Invalidate();
      return 0;
    }
    case WM_LBUTTONUP: {
      Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      int pressed = pressed_key_;
      pressed_key_ = -1;
      if (GetCapture() == hwnd()) ReleaseCapture();
      Invalidate();
      if (pressed == 2 && InputPanelButtonRect().Contains(p))
        SetInputPanel(!IsInputPanelUp());
      else if (pressed >= 0 && pressed == KeyAt(p))
        PressSoftKey(pressed);
      return 0;
    }
    case WM_DESTROY:
      ClosePopup();
      std::erase(Bars(), this);
      return 0;
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

void SoftKeyBar::Paint() {
  PaintScope paint(*this);
  DeviceContext& dc = paint.dc();
  Rect client = ClientRect();
  dc.FillSolid(client, kBarBack);
  dc.FillSolid(Rect{0, 0, client.right, 1}, kBarLine);
  dc.SelectFont(BarFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  for (int key = 0; key < 2; ++key) {
    const SoftMenuItem* item = menu_.ItemAt(size_t(key));
    if (!item || item->separator) continue;
    Rect r = SoftKeyRect(key);
    if (key == pressed_key_ || key == open_key_) dc.FillSolid(Rect{r.left, 1, r.right, r.bottom}, kPressed);
    dc.DrawText(item->caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  if (!input_panel_button_) {
    if (menu_.ItemCount() < 2) return;  // one soft key: no divider
    int mid = client.right / 2;
    dc.FillSolid(Rect{mid, 12, mid + 1, kSoftKeyBarHeight - 12}, kBarLine);
  } else {
    Rect r = InputPanelButtonRect();
    if (pressed_key_ == 2) dc.FillSolid(Rect{r.left, 1, r.right, r.bottom}, kPressed);
    DrawKeyboardGlyph(dc, r);
  }
}

SoftKeyBar* ActiveSoftKeyBar() {
  HWND active = GetActiveWindow();
  if (!active) return nullptr;
  auto& bars = Bars();
  for (auto it = bars.rbegin(); it != bars.rend(); ++it) {
    SoftKeyBar* bar = *it;
    if (bar->IsAlive() && bar->IsVisible() && bar->TopLevel()->hwnd() == active) return bar;
  }
  return nullptr;
}

bool RouteSoftKeyInput(uint32_t vk, bool down) {
  if (g_open_popup) {
    if (vk == VK_F1 || vk == VK_F2) {
      if (!down) return true;
      SoftKeyBar* bar = nullptr;
      for (SoftKeyBar* b : Bars())
        if (b->popup() == g_open_popup) bar = b;
      int key = vk == VK_F1 ? 0 : 1;
      if (bar) bar->PressSoftKey(key);  // the open key closes, the other opens
      else g_open_popup->Close();
      return true;
    }
    if (vk == VK_UP || vk == VK_DOWN || vk == VK_RETURN || vk == VK_TBACK) {
      if (down) g_open_popup->HandleKey(vk);
      return true;
    }
    return false;
  }
  if (vk != VK_F1 && vk != VK_F2) return false;
  SoftKeyBar* bar = ActiveSoftKeyBar();
  if (!bar) return false;
  if (down) bar->PressSoftKey(vk == VK_F1 ? 0 : 1);
  return true;
}

}  // namespace brantel
