#include "app/common/system_keys.h"

#include "app/common/menu_commands.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"
#include "protocol/app_messages.h"

namespace brantel {

bool ForwardSystemKeyToOwner(HWND owner, uint32_t message) {
  switch (message) {
    case WM_END_KEY:
    case WM_TALK_KEY:
    case WM_CLOSE_REQUEST:
      if (owner) PostMessage(owner, WM_COMMAND, kCmdExit, 0);
      return true;
    case WM_BACK_KEY:
      if (owner) PostMessage(owner, WM_SCREEN_BACK, 0, 0);
      return true;
    default:
      return false;
  }
}

}  // namespace brantel
