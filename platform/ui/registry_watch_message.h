#pragma once
// Registry change notification delivered as a window message.

#include <string>

#include "platform/registry/registry_watch.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// Turns a registry watch into a message posted to a window each time the key
// changes (also when another process wrote it). Messages to a window that is
// gone are dropped; the watch ends when the returned object goes.
RegistryWatch WatchKeyWithMessage(RegRoot root, std::string path, HWND hwnd, uint32_t message, WPARAM wParam = 0,
                                  LPARAM lParam = 0, bool subtree = false);

}  // namespace brantel
