#pragma once
// CKWEdit's own state and what it tells its parent, apart from the window:
// its colours, the hint flag, the composing flag and the context-command
// flag, and the notifications each input event posts.

#include <vector>

#include "platform/ui/edit_painting.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// The grey of a hint text.
constexpr COLORREF kKwEditHintColor = 0xC3C3C3;

// A message for the parent (posted).
struct KwEditNotice {
  uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
  friend bool operator==(const KwEditNotice&, const KwEditNotice&) = default;
};
using KwEditNotices = std::vector<KwEditNotice>;

class KwEditState {
 public:
  const EditColors& colors() const { return colors_; }
  bool hint() const { return hint_; }
  bool composing() const { return composing_; }
  bool context_command() const { return context_command_; }
  void SetContextCommand(bool on) { context_command_ = on; }

  // Text and background colour; the brush follows the background.
  void SetColors(COLORREF text, COLORREF background);
  // The hint look: grey text, the background kept, the hint flag set.
  void SetHint();

  // A tap: WM_KWEDIT_NOTIFY (0, 1).
  KwEditNotices Tap() const;
  // A character (after the edit took it): clears the composing flag;
  // (character, 0) while the hint flag is set, and (8, 0) for backspace in
  // any case.
  KwEditNotices Char(char16_t c);
  // Composition: start sets the composing flag; an update while the hint
  // flag is set posts (0, 0) and clears the flag; the end clears the
  // composing flag and posts WM_KWEDIT_COMPOSED.
  void CompositionStart() { composing_ = true; }
  KwEditNotices CompositionUpdate();
  KwEditNotices CompositionEnd();

 private:
  EditColors colors_{};
  bool hint_ = false;
  bool composing_ = false;
  bool context_command_ = true;
};

}  // namespace brantel
