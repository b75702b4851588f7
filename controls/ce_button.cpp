#include "controls/ce_button.h"

#include "controls/image_drawing.h"
#include "platform/ui/clock.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"

namespace brantel {

CCeButton::CCeButton()
    : small_font_(u"벨탄고딕", 25, FW_BOLD), large_font_(u"벨탄고딕", 32, FW_HEAVY) {}

bool CCeButton::Create(const Rect& rect, Window* parent, int id, uint32_t style) {
  if (!Window::Create(kCeButtonClass, u"", style & ~WS_DISABLED, rect, parent, id)) return false;
  state_.SetEnabled((style & WS_DISABLED) == 0);
  return true;
}

void CCeButton::SetImages(const PictureSource& source, uint32_t normal, uint32_t pressed, uint32_t selected,
                          uint32_t disabled, uint32_t pressed_selected) {
  auto load = [&](uint32_t number) { return number && source ? DecodeImage(source(number)) : Surface(); };
  normal_ = load(normal);
  pressed_ = load(pressed);
  selected_ = load(selected);
  disabled_ = load(disabled);
  pressed_selected_ = load(pressed_selected);
  Invalidate();
}

void CCeButton::SetImages(const ResourceLibraryRef& library, uint32_t normal, uint32_t pressed, uint32_t selected,
                          uint32_t disabled, uint32_t pressed_selected) {
  PictureSource source;
  if (library)
    source = [library](uint32_t number) { return library->Picture(kPictureTypePng, number); };
  SetImages(source, normal, pressed, selected, disabled, pressed_selected);
}

void CCeButton::EnableButton(bool enabled) {
  state_.SetEnabled(enabled);
  Enable(enabled);
  Invalidate();
}

void CCeButton::SetSelected(bool selected) {
  state_.SetSelected(selected);
  Invalidate();
}

void CCeButton::SetTransparent(bool transparent, COLORREF key) {
  transparent_ = transparent;
  transparent_key_ = key;
  Invalidate();
}

void CCeButton::SetCaption(WideView caption, const Rect& caption_rect, COLORREF color, bool shown) {
  caption_ = WideText(caption);
  caption_rect_ = caption_rect;
  caption_color_ = color;
  caption_shown_ = shown;
  Invalidate();
}

const Surface& CCeButton::ImageForLook() const {
  const Surface* image = &normal_;
  switch (state_.look()) {
    case CeButtonLook::kPressed:
      image = state_.selected() ? &pressed_selected_ : &pressed_;
      break;
    case CeButtonLook::kSelected:
      image = &selected_;
      break;
    case CeButtonLook::kDisabled:
      image = &disabled_;
      break;
    case CeButtonLook::kNormal:
      break;
  }
  return image->empty() ? normal_ : *image;
}

void CCeButton::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  DeviceContext& dc = paint.dc();
  const Rect client = ClientRect();
  const Surface& image = ImageForLook();
  if (transparent_) {
    DrawImageTransparent(dc, client, image, transparent_key_);
  } else {
    StretchImage(dc, client, image);
  }
  if (caption_shown_ && !caption_.empty()) {
    const bool large = state_.look() == CeButtonLook::kPressed || state_.look() == CeButtonLook::kSelected;
    dc.SelectFont(large ? large_font_ : small_font_);
    dc.SetTextColor(caption_color_);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(caption_, caption_rect_, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  }
}

LRESULT CCeButton::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      if (state_.Press()) {
        SetCapture(hwnd());
        press_tick_ = GetTickCount();
        Invalidate();
      }
      return 0;
    case WM_MOUSEMOVE:
      if (state_.pressed()) {
        const CeButtonLook before = state_.look();
        state_.Move(ClientRect().Contains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        if (state_.look() != before) Invalidate();
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!state_.pressed()) return 0;
      ReleaseCapture();
      const bool click = state_.Release();
      Invalidate();
      if (click && parent()) brantel::SendMessage(parent()->hwnd(), WM_CEBUTTON_CLICKED, WPARAM(id()), 3);
      return 0;
    }
    case WM_KEYUP:
      if (parent()) brantel::PostMessage(parent()->hwnd(), WM_KEYUP, wParam, lParam);
      return 0;
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
