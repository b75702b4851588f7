#include "app/search/search_edit.h"

#include "platform/ui/message_queue.h"

namespace brantel {

WideText CSearchEdit::ShownText() const {
  const EditModel& m = model();
  if (m.composition().empty()) return m.text();
  WideText out = m.text().substr(0, m.sel_start());
  out += m.composition();
  out += m.text().substr(m.sel_end());
  return out;
}

LRESULT CSearchEdit::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CKWEdit::WindowProc(message, wParam, lParam);
  // The finished syllable comes as a character and changes the text; only
  // the updates of the one on show are told here.
  if (message == WM_IME_COMPOSITION && (lParam & GCS_COMPSTR) && IsAlive() && parent())
    PostMessage(parent()->hwnd(), WM_SEARCH_COMPOSING, wParam, 0);
  return result;
}

}  // namespace brantel
