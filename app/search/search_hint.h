#pragma once
// The hint of the search edit and the search triggers, apart from the
// window: given what the edit holds when a notice arrives, what the screen
// does with the edit, the list and the search.
//
// The hint (string 103, grey) stands in an empty edit. The first key,
// composition or tap over it removes it (the text keeps what was typed
// around it); an edit that becomes empty shows it again. A tap in a
// non-empty edit selects the whole text.

#include <cstdint>

#include "platform/text.h"

namespace brantel {

struct SearchEditActions {
  bool set_text = false;  // replace the edit text by `text` (no hint comes back for it)
  WideText text;
  bool normal_colors = false;
  bool show_hint = false;   // put the hint back (grey, flag on) and empty the list
  bool select_all = false;
  bool caret_to_end = false;
  bool clear_list = false;
  bool search = false;      // search `text`
};

class SearchHintState {
 public:
  explicit SearchHintState(WideText hint) : hint_(std::move(hint)) {}

  const WideText& hint() const { return hint_; }
  bool showing() const { return showing_; }
  // The hint went into the edit.
  void HintShown() { showing_ = true; }

  // WM_KWEDIT_NOTIFY (key: the character, 8 backspace, 0 tap or
  // composition; tap: 1 after a tap) with the edit's text.
  SearchEditActions OnNotify(char16_t key, bool tap, WideView text);
  // A text change of the edit. `own`: the screen set the text itself;
  // `composing`: a composition is running.
  SearchEditActions OnTextChanged(WideView text, bool own, bool composing) const;
  // The text plus the syllable on show during a composition.
  SearchEditActions OnComposing(WideView text_with_syllable) const;
  // WM_KWEDIT_COMPOSED and the search button.
  SearchEditActions OnSearchRequest(WideView text) const;

 private:
  WideText hint_;
  bool showing_ = false;
};

// `text` with the first `hint` in it taken out; `text` unchanged without it.
WideText WithoutHint(WideView text, WideView hint);

}  // namespace brantel
