#include "platform/ui/registry_watch_message.h"

#include "platform/ui/message_queue.h"

namespace brantel {

RegistryWatch WatchKeyWithMessage(RegRoot root, std::string path, HWND hwnd, uint32_t message, WPARAM wParam,
                                  LPARAM lParam, bool subtree) {
  return WatchKey(
      root, std::move(path), [=] { PostMessage(hwnd, message, wParam, lParam); }, subtree);
}

}  // namespace brantel
