#pragma once
// Painting the tab strip from its state and look, apart from its window
// (the gallery and tests draw it straight into surfaces).

#include <cstdint>

#include "controls/tab_strip_state.h"
#include "platform/gfx/device_context.h"
#include "platform/gfx/font.h"
#include "platform/resources/resource_library.h"

namespace brantel {

inline constexpr COLORREF kTabTextColor = 0xFFFFFF;
inline constexpr COLORREF kTabSelectedTextColor = 0xFFC834;

struct TabStripLook {
  uint32_t background = 0;  // picture tiled across the width; 0 = black
  uint32_t highlight = 0;   // picture under the pressed and selected tabs
  int highlight_dx = 0;     // the highlight's offset from the tab rectangle
  int highlight_dy = 0;
  Font font;  // null: the device context's default font
  COLORREF text_color = kTabTextColor;
  COLORREF selected_text_color = kTabSelectedTextColor;
  unsigned text_format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
};

// Background, then per tab: highlight (pressed or selected), icon stretched
// into its box and caption, both placed relative to the tab.
void DrawTabStrip(DeviceContext& dc, const Rect& client, const TabStripState& state, const TabStripLook& look,
                  const ResourceLibraryRef& library);

}  // namespace brantel
