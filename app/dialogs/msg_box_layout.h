#pragma once
// The message box's geometry, apart from its window so it can be checked on
// its own: the text wrapped as a multi-line edit 393 pixels wide with the
// 36-pixel gothic font would wrap it, and the box, text and buttons placed
// for that many lines.

#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/text.h"

namespace brantel {

inline constexpr int kMsgBoxTextWidth = 393;
inline constexpr int kMsgBoxTextFontHeight = 36;
inline constexpr int kMsgBoxCaptionFontHeight = 42;
inline constexpr int kMsgBoxButtonFontHeight = 40;
inline constexpr int kMsgBoxLinePitch = 48;
inline constexpr int kMsgBoxLineHeight = 42;
inline constexpr int kMsgBoxCaptionHeight = 65;
inline constexpr int kMsgBoxBottomHeight = 20;

// The lines the text wraps into (at least one, possibly empty).
std::vector<WideText> WrapMessageText(WideView text);

struct MsgBoxLayout {
  int lines = 1;
  Rect box;            // client coordinates
  Rect text;           // the first line's row starts at text.top
  Rect buttons[2];     // style 0: only buttons[0]
  int button_count = 1;
};

// `client` is the dialog's client area (the screen below the system bar);
// style 0 has one button, style 1 two.
MsgBoxLayout LayOutMsgBox(int lines, int style, const Rect& client);

}  // namespace brantel
