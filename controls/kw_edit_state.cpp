#include "controls/kw_edit_state.h"

#include "platform/ui/app_messages.h"

namespace brantel {

void KwEditState::SetColors(COLORREF text, COLORREF background) {
  colors_.text = text;
  colors_.background = background;
  colors_.brush = Brush{background};
}

void KwEditState::SetHint() {
  colors_.text = kKwEditHintColor;
  hint_ = true;
}

KwEditNotices KwEditState::Tap() const { return {{WM_KWEDIT_NOTIFY, 0, 1}}; }

KwEditNotices KwEditState::Char(char16_t c) {
  composing_ = false;
  KwEditNotices out;
  if (hint_) out.push_back({WM_KWEDIT_NOTIFY, WPARAM(c), 0});
  if (c == 8) out.push_back({WM_KWEDIT_NOTIFY, 8, 0});
  return out;
}

KwEditNotices KwEditState::CompositionUpdate() {
  if (!hint_) return {};
  hint_ = false;
  return {{WM_KWEDIT_NOTIFY, 0, 0}};
}

KwEditNotices KwEditState::CompositionEnd() {
  composing_ = false;
  return {{WM_KWEDIT_COMPOSED, 0, 0}};
}

}  // namespace brantel
