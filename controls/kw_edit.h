#pragma once
// CKWEdit: the screens' edit field, a platform edit control with its own
// colours, a grey hint text and the edit commands of the menu bar. It posts
// WM_KWEDIT_NOTIFY to its parent for a tap (0, 1), for keys while the hint
// is set (character, 0), for backspace (8, 0) and for the first composition
// over a hint (0, 0), and WM_KWEDIT_COMPOSED when a composition ends.

#include "controls/kw_edit_state.h"
#include "platform/ui/edit.h"

namespace brantel {

// Edit commands (WM_COMMAND identifiers sent to the edit).
inline constexpr int kKwEditUndo = 9898;  // only when the edit can undo
inline constexpr int kKwEditCut = 9899;
inline constexpr int kKwEditCopy = 9900;
inline constexpr int kKwEditPaste = 9901;
inline constexpr int kKwEditClear = 9902;
inline constexpr int kKwEditSelectAll = 9903;  // focus, select all, caret into view

class CKWEdit : public EditControl {
 public:
  // Text colour and background colour (the brush follows); repaints.
  void SetColors(COLORREF text, COLORREF background);
  // Shows `text` as a hint: grey text on the same background, hint flag set.
  void SetHint(WideView text);

  const KwEditState& state() const { return state_; }
  bool hint() const { return state_.hint(); }
  bool composing() const { return state_.composing(); }
  void SetContextCommand(bool on) { state_.SetContextCommand(on); }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void QueryColors(EditColors& colors) override { colors = state_.colors(); }

 private:
  void PostToParent(const KwEditNotices& notices);
  void OnTap(LPARAM lParam);
  bool OnEditCommand(int command);

  KwEditState state_;
};

}  // namespace brantel
