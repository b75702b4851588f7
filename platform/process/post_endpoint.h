#pragma once
// Window messages between processes. Every program that has windows runs an
// endpoint: a Unix-domain datagram socket in the run folder named after its
// process id. A post to a window of another process (found by the handle's
// high 32 bits) travels there and is handed to the endpoint's handler, which
// puts it into the receiving program's message queue.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/process/published_windows.h"

namespace brantel {

struct RemotePost {
  WindowHandle hwnd = 0;
  uint32_t message = 0;
  uint64_t wparam = 0;
  int64_t lparam = 0;
};
using RemotePostHandler = std::function<void(const RemotePost&)>;

// Starts this process's endpoint, or gives a running one a new handler. The
// handler runs on the endpoint's own thread. False when the socket cannot be
// made.
bool StartPostEndpoint(RemotePostHandler handler);
// Stops the endpoint; when this returns, the handler is not running. Not to
// be called from the handler itself.
void StopPostEndpoint();

// Sends a post to the process that owns `hwnd`. False when that process has
// no endpoint (ended, or never started one) or does not take the post within
// a second.
bool PostToProcess(WindowHandle hwnd, uint32_t message, uint64_t wparam, int64_t lparam);

}  // namespace brantel
