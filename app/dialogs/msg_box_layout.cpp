#include "app/dialogs/msg_box_layout.h"

#include <algorithm>

#include "app/common/screen_layout.h"
#include "platform/gfx/device_context.h"
#include "platform/gfx/font.h"
#include "platform/gfx/text_layout.h"

namespace brantel {

std::vector<WideText> WrapMessageText(WideView text) {
  static const Font font(kGothicFace, kMsgBoxTextFontHeight);
  std::vector<WideText> out;
  if (font.valid()) {
    TextLayout layout = LayoutText(text, Rect{0, 0, kMsgBoxTextWidth, 1 << 20},
                                   DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, *font.instance());
    for (const TextLine& line : layout.lines) {
      WideText wide;
      for (char32_t c : line.text) {
        if (c >= 0x10000) {
          c -= 0x10000;
          wide.push_back(char16_t(0xD800 + (c >> 10)));
          wide.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
          wide.push_back(char16_t(c));
        }
      }
      out.push_back(std::move(wide));
    }
  }
  if (out.empty()) out.emplace_back();
  return out;
}

MsgBoxLayout LayOutMsgBox(int lines, int style, const Rect& client) {
  MsgBoxLayout l;
  l.lines = std::max(1, lines);
  const int n = l.lines;
  const bool one = n < 2;
  const int text_height = kMsgBoxLinePitch * n - 6;
  const int height = (one ? 115 + 123 : 93 + 97) + text_height;
  const int top = client.top + (client.Height() - kMenuBarHeight - height) / 2;
  l.box = Rect{18, top, 463, top + height};
  const int text_top = top + (one ? 115 : 93);
  l.text = Rect{l.box.left + 26, text_top, l.box.left + 419, text_top + text_height};
  const int button_top = top + (one ? 149 : 101) + kMsgBoxLinePitch * n;
  if (style == 1) {
    l.button_count = 2;
    l.buttons[0] = Rect{l.box.left + 21, button_top, l.box.left + 217, button_top + 62};
    l.buttons[1] = Rect{l.box.left + 228, button_top, l.box.left + 424, button_top + 62};
  } else {
    l.button_count = 1;
    l.buttons[0] = Rect{l.box.left + 21, button_top, l.box.left + 424, button_top + 62};
  }
  return l;
}

}  // namespace brantel
