#include "protocol/network_pump.h"

#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"

namespace brantel {

bool PumpMessagesUntilCancel() { return PumpPendingMessagesUntil(WM_CANCEL_NETWORK) != PumpResult::kEmpty; }

}  // namespace brantel
