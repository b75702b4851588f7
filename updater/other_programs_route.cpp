#include "updater/other_programs_route.h"

#include "platform/process/other_programs.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window_tree.h"

namespace brantel {

bool EnsureOtherProgramsRoute() {
  if (GetWindowSystemHooks().find_remote) return true;
  const bool endpoint = StartPostEndpoint([](const RemotePost& p) {
    PostMessage(HWND(p.hwnd), p.message, WPARAM(p.wparam), LPARAM(p.lparam));
  });
  WindowSystemHooks hooks;
  hooks.top_level_shown = [](HWND hwnd, const WideText& class_name, const WideText& title) {
    PublishWindow(hwnd, class_name, title);
  };
  hooks.top_level_gone = [](HWND hwnd) { UnpublishWindow(hwnd); };
  hooks.find_remote = [](WideView class_name, WideView title) -> HWND {
    const auto found = FindPublishedWindow(class_name, title, false);
    return found ? HWND(found->hwnd) : 0;
  };
  hooks.post_remote = [](HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
    return PostToProcess(hwnd, message, uint64_t(wParam), int64_t(lParam));
  };
  SetWindowSystemHooks(std::move(hooks));
  return endpoint;
}

}  // namespace brantel
