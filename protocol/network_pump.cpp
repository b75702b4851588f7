#include "protocol/network_pump.h"

#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"

namespace brantel {

bool PumpMessagesUntilCancel() {
  Message msg;
  while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_CANCEL_NETWORK) return true;
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return true;
    }
    if (!PreDispatchMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  return false;
}

}  // namespace brantel
