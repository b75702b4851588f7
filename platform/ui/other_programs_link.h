#pragma once
// Links the window system to the other program: top-level windows are
// published in the run folder, FindWindow also finds the other program's
// windows, and PostMessage to one of its handles travels to its endpoint.
// Posts that arrive from another process go into this process's queues.
//
// Only messages that carry no pointers are taken from another process:
// WM_NULL, WM_CLOSE, WM_COMMAND and the application's own messages
// (WM_USER and above). Anything else is dropped, since its parameters would
// be addresses in the sender's memory.

#include <cstdint>

namespace brantel {

// Starts the endpoint and publishes the top-level windows that exist. False
// when the endpoint cannot be started (windows then stay private).
bool ConnectToOtherPrograms();
// Unpublishes this process's windows and stops the endpoint.
void DisconnectFromOtherPrograms();
// True for the messages a window accepts from another process.
bool AcceptsMessageFromOtherProcess(uint32_t message);

}  // namespace brantel
