#pragma once
// CMsgBoxDlg: the viewer's message box. Modal, over a dimmed copy of the
// screen; a caption, the text in rows of 48 pixels, and "Ok" (style 0) or
// "Ok" and "Cancel" (style 1). It ends with 1 for the first button and 2
// for the second (Enter counts as the first; the back key and the close
// request count as the second).

#include <cstdint>

#include "app/dialogs/msg_box_layout.h"
#include "platform/gfx/surface.h"
#include "platform/ui/dialog.h"

namespace brantel {

// Which button a press marked and what its release means: a release on the
// marked button ends the box with 1 or 2; any other release clears the mark.
class MsgBoxButtons {
 public:
  int pressed() const { return pressed_; }
  void Press(int button) { pressed_ = button; }
  // `button` is the one under the release (-1 none); 0 when nothing ends.
  int Release(int button);

 private:
  int pressed_ = -1;
};

class CMsgBoxDlg : public Dialog {
 public:
  CMsgBoxDlg(WideView caption, WideView text, int style);

  const MsgBoxLayout& layout() const { return layout_; }
  const std::vector<WideText>& lines() const { return lines_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override { EndDialog(1); }
  void OnCancel() override { EndDialog(2); }

 private:
  int ButtonAt(Point client) const;
  void Paint();

  WideText caption_;
  std::vector<WideText> lines_;
  int style_;
  MsgBoxLayout layout_;
  MsgBoxButtons buttons_;
  Surface dimmed_;
};

}  // namespace brantel
