#pragma once
// Keeps the user interface alive while a network exchange waits: handles
// every message queued for the calling thread, and stops at
// WM_CANCEL_NETWORK, which is consumed and never dispatched.

namespace brantel {

// Returns true when WM_CANCEL_NETWORK was taken from the queue. A WM_QUIT is
// put back so the thread's own loop still ends.
bool PumpMessagesUntilCancel();

}  // namespace brantel
