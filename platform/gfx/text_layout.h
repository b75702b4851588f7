#pragma once
// Lays out DrawText's text: prefix characters, line breaks, word wrap,
// ellipses and alignment, in the device's flag semantics. Drawing the laid
// out lines is the device context's job; DT_CALCRECT uses only the layout.

#include <string>
#include <vector>

#include "platform/gfx/font_instance.h"
#include "platform/gfx/geometry.h"
#include "platform/text.h"

namespace brantel {

struct TextLine {
  std::u32string text;  // what is drawn (prefixes resolved, ellipsis added)
  int underline = -1;   // index in `text` of the mnemonic character, or -1
  int width = 0;
  int x = 0;            // left of the line's box
  int y = 0;            // top of the line's box
};

struct TextLayout {
  std::vector<TextLine> lines;
  int line_height = 0;
  Rect bounds;        // the DT_CALCRECT answer
  int return_value = 0;  // what DrawText returns
};

// Pen advance of `c` when the pen is `pen` pixels from the line start (tabs
// go to the next stop when tabs are expanded, else they have no width).
int TextAdvance(FontInstance& font, char32_t c, int pen, int tab_width);
int TextWidth(FontInstance& font, const std::u32string& text, int tab_width);

TextLayout LayoutText(WideView text, const Rect& rect, unsigned format, FontInstance& font);

}  // namespace brantel
