#pragma once
// Waiting on the window thread without freezing it: pending window messages
// are let through (painting, timers, buttons) while the time passes.

#include "updater/download_client.h"

namespace brantel {

// Waits `ms` milliseconds, calling `pump` every few milliseconds. Returns
// true when the pump reported a cancel (the wait still runs to its end).
bool WaitLettingMessagesThrough(int ms, const MessagePump& pump);

}  // namespace brantel
