#pragma once
// Keeps the user interface alive while a network exchange waits: handles
// the messages queued for the calling thread (each timer at most once per
// call), and stops at WM_CANCEL_NETWORK, which is consumed and never
// dispatched.

namespace brantel {

// Returns true when the exchange should end: WM_CANCEL_NETWORK was taken
// from the queue, or a WM_QUIT was met (it is put back so the thread's own
// loop still ends, without first waiting out the exchange).
bool PumpMessagesUntilCancel();

}  // namespace brantel
