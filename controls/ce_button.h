#pragma once
// The CE button: an image button with normal, pressed, selected, disabled
// and pressed-while-selected pictures and an optional caption. A click is
// sent to the parent as WM_CEBUTTON_CLICKED (button id, 3).

#include <cstdint>
#include <functional>
#include <span>

#include "controls/ce_button_state.h"
#include "platform/gfx/font.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/window.h"
#include "platform/ui/app_messages.h"  // WM_CEBUTTON_CLICKED

namespace brantel {

inline constexpr char16_t kCeButtonClass[] = u"CE_BUTTON_WINDOW";

// Where a button finds its pictures by number.
using PictureSource = std::function<std::span<const uint8_t>(uint32_t number)>;

class CCeButton : public Window {
 public:
  CCeButton();

  bool Create(const Rect& rect, Window* parent, int id, uint32_t style = WS_VISIBLE);

  // Pictures by number; 0 makes that look use the normal picture. Earlier
  // pictures are let go.
  void SetImages(const PictureSource& source, uint32_t normal, uint32_t pressed, uint32_t selected = 0,
                 uint32_t disabled = 0, uint32_t pressed_selected = 0);
  void SetImages(const ResourceLibraryRef& library, uint32_t normal, uint32_t pressed, uint32_t selected = 0,
                 uint32_t disabled = 0, uint32_t pressed_selected = 0);

  // Enables or disables the button and repaints it.
  void EnableButton(bool enabled);
  void SetSelected(bool selected);
  void SetTransparent(bool transparent, COLORREF key);
  void SetCaption(WideView caption, const Rect& caption_rect, COLORREF color = 0xFFFFFF, bool shown = true);

  const CeButtonState& state() const { return state_; }
  CeButtonLook look() const { return state_.look(); }
  uint32_t press_tick() const { return press_tick_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  const Surface& ImageForLook() const;

  CeButtonState state_;
  Surface normal_, pressed_, selected_, disabled_, pressed_selected_;
  bool transparent_ = false;
  COLORREF transparent_key_ = 0xFF00FF;
  WideText caption_;
  Rect caption_rect_;
  COLORREF caption_color_ = 0xFFFFFF;
  bool caption_shown_ = false;
  Font small_font_;
  Font large_font_;
  uint32_t press_tick_ = 0;
};

}  // namespace brantel
