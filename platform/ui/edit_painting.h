#pragma once
// Painting of an edit control from its model, apart from the window, so a
// page or a test can draw an edit's look straight into a surface.

#include "platform/gfx/device_context.h"
#include "platform/ui/edit_model.h"

namespace brantel {

// The colours an edit paints with. Before each paint the edit sends
// WM_CTLCOLOREDIT to its parent with wParam a pointer to this struct (filled
// with the defaults below) and lParam the edit's handle; the parent changes
// what it wants and returns non-zero. The brush fills the whole control; the
// background colour lies behind the characters.
struct EditColors {
  COLORREF text = RGB(0, 0, 0);
  COLORREF background = RGB(0xFF, 0xFF, 0xFF);
  Brush brush{RGB(0xFF, 0xFF, 0xFF)};
};

// Selected text: white on blue while the edit has the focus.
constexpr COLORREF kEditSelectionBack = RGB(0x31, 0x6A, 0xC5);
constexpr COLORREF kEditSelectionText = RGB(0xFF, 0xFF, 0xFF);

// Draws the visible lines (a single line is centred vertically), the
// selection and the caret when `focused` (the caret only when `caret_on`),
// and the composition underlined at the caret.
void PaintEdit(DeviceContext& dc, const Rect& client, const EditModel& model, const Font& font,
               const EditColors& colors, bool focused, bool caret_on);

}  // namespace brantel
