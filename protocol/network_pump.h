#pragma once
// Keeps the user interface alive while a network exchange waits: handles
// every message queued for the calling thread, and stops at
// WM_CANCEL_NETWORK, which is consumed and never dispatched.

namespace brantel {

// Returns true when WM_CANCEL_NETWORK was taken from the queue, and when a
// WM_QUIT was: the quit is put back so the thread's own loop still ends, and
// the exchange stops at once instead of holding the end of the program for
// the rest of its receive wait.
bool PumpMessagesUntilCancel();

}  // namespace brantel
