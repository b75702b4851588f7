#include "platform/ui/other_programs_link.h"

#include "platform/process/other_programs.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window_tree.h"

namespace brantel {

bool AcceptsMessageFromOtherProcess(uint32_t message) {
  return message == WM_NULL || message == WM_CLOSE || message == WM_COMMAND || message >= WM_USER;
}

bool ConnectToOtherPrograms() {
  bool ok = StartPostEndpoint([](const RemotePost& post) {
    // Runs on the endpoint's thread; posting is thread-safe. Only windows of
    // this process, and only messages without pointers.
    if (!IsLocalHandle(post.hwnd) || !AcceptsMessageFromOtherProcess(post.message)) return;
    PostMessage(post.hwnd, post.message, WPARAM(post.wparam), LPARAM(post.lparam));
  });
  if (!ok) return false;
  WindowSystemHooks hooks;
  hooks.top_level_shown = [](HWND h, const WideText& cls, const WideText& title) { PublishWindow(h, cls, title); };
  hooks.top_level_gone = [](HWND h) { UnpublishWindow(h); };
  hooks.find_remote = [](WideView cls, WideView title) -> HWND {
    auto found = FindPublishedWindow(cls, title, false);
    return found ? found->hwnd : 0;
  };
  hooks.post_remote = [](HWND h, uint32_t m, WPARAM w, LPARAM l) {
    return PostToProcess(h, m, uint64_t(w), int64_t(l));
  };
  SetWindowSystemHooks(std::move(hooks));
  for (HWND h : TopLevelWindows()) {
    Window* w = WindowFromHandle(h);
    if (w) PublishWindow(h, w->class_name(), w->text());
  }
  return true;
}

void DisconnectFromOtherPrograms() {
  SetWindowSystemHooks(WindowSystemHooks{});
  for (HWND h : TopLevelWindows()) UnpublishWindow(h);
  StopPostEndpoint();
}

}  // namespace brantel
