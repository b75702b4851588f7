#pragma once
// The search edit: CKWEdit that also tells its parent each time the
// syllable being composed changes, so the screen can search while the user
// is still composing.

#include "controls/kw_edit.h"

namespace brantel {

// Posted to the parent after each composition update (wParam the syllable
// on show, 0 when it was cleared).
inline constexpr uint32_t WM_SEARCH_COMPOSING = WM_USER + 0x12A;

class CSearchEdit : public CKWEdit {
 public:
  // The text as the user sees it: the syllable being composed in place of
  // the selection, at the caret.
  WideText ShownText() const;

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace brantel
