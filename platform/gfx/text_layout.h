#pragma once
// Lays out DrawText's text: prefix characters, line breaks, word wrap,
// ellipses and alignment, in the device's flag semantics. Drawing the laid
// out lines is the device context's job; DT_CALCRECT uses only the layout.

#include <functional>
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

// One line of a wrapped paragraph: [begin, end) is shown (trailing spaces
// dropped); the next line starts at `next`.
struct WrapSpan {
  size_t begin = 0, end = 0, next = 0;
};
// Pen advance of a character when the pen is `pen` pixels from the line start.
using AdvanceFunction = std::function<int(char32_t c, int pen)>;
// Splits one paragraph (no line breaks in it) into lines of at most `width`
// pixels at spaces. A word longer than a line is split between characters
// when `split_long_words` (DT_EDITCONTROL, as an edit control does), else it
// runs on to the next space. An empty paragraph is one empty line. DrawText
// and the edit control wrap through this, so they agree.
std::vector<WrapSpan> WrapParagraph(const std::u32string& paragraph, int width, bool split_long_words,
                                    const AdvanceFunction& advance);

TextLayout LayoutText(WideView text, const Rect& rect, unsigned format, FontInstance& font);

}  // namespace brantel
