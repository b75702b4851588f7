#include "app/dialogs/numbered_message.h"

#include "app/dialogs/msg_box_dlg.h"
#include "platform/resources/resource_library.h"

namespace brantel {

intptr_t NumberedMessageResult(int style, intptr_t box_result) {
  if (style != 1) return kMessageOk;
  return box_result == 1 ? kMessageYes : kMessageNo;
}

intptr_t ShowNumberedMessage(Window* owner, int number, int style) {
  WideText text;
  if (ResourceLibraryRef lib = ProcessResources()) text = lib->String(uint32_t(number));
  CMsgBoxDlg box(kMessageCaption, text, style);
  return NumberedMessageResult(style, box.DoModal(owner));
}

}  // namespace brantel
