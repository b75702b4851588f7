// Keyboard input: key presses, characters and input-method composition go
// to the focus window, else to the active window.

#include <atomic>
#include <mutex>
#include <set>

#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/shell.h"
#include "platform/ui/soft_key_bar.h"

namespace brantel {
namespace {

std::mutex g_mu;
bool g_composing = false;
std::set<uint32_t> g_keys_down;
std::atomic<bool> g_system_key_messages{false};

uint32_t SystemKeyMessage(uint32_t vk) {
  switch (vk) {
    case VK_TBACK: return WM_BACK_KEY;
    case VK_TEND: return WM_END_KEY;
    case VK_TTALK: return WM_TALK_KEY;
    default: return 0;
  }
}

HWND KeyTarget() {
  HWND h = GetFocus();
  return h ? h : GetActiveWindow();
}

}  // namespace

void RouteKey(uint32_t vk, bool down) {
  {
    std::lock_guard<std::mutex> lock(g_mu);
    if (down) g_keys_down.insert(vk);
    else g_keys_down.erase(vk);
  }
  HWND h = KeyTarget();
  if (RouteSoftKeyInput(vk, down)) return;  // the soft keys and open pop-ups first
  if (h) PostMessage(h, down ? WM_KEYDOWN : WM_KEYUP, vk, down ? 1 : LPARAM(0xC0000001));
  if (down && g_system_key_messages) {
    if (uint32_t message = SystemKeyMessage(vk)) {
      if (HWND active = GetActiveWindow()) PostMessage(active, message, 0, 0);
    }
  }
}

void RouteCloseRequest() {
  if (!g_system_key_messages) {
    PostQuitMessage(0);
    return;
  }
  HWND target = GetMainWindow();
  if (!IsWindow(target)) target = GetActiveWindow();
  if (target)
    PostMessage(target, WM_CLOSE_REQUEST, 0, 0);
  else
    PostQuitMessage(0);
}

void EnableSystemKeyMessages(bool on) { g_system_key_messages = on; }

void RouteChar(char16_t ch) {
  HWND h = KeyTarget();
  if (h) PostMessage(h, WM_CHAR, ch, 1);
}

void RouteCompositionStart() {
  {
    std::lock_guard<std::mutex> lock(g_mu);
    if (g_composing) return;
    g_composing = true;
  }
  if (HWND h = KeyTarget()) PostMessage(h, WM_IME_STARTCOMPOSITION, 0, 0);
}

void RouteCompositionUpdate(char16_t composing) {
  RouteCompositionStart();
  if (HWND h = KeyTarget()) PostMessage(h, WM_IME_COMPOSITION, composing, GCS_COMPSTR);
}

void RouteCompositionResult(WideView text) {
  HWND h = KeyTarget();
  if (!h) return;
  for (char16_t ch : text) {
    PostMessage(h, WM_IME_COMPOSITION, ch, GCS_RESULTSTR);
    PostMessage(h, WM_CHAR, ch, 1);
  }
}

void RouteCompositionEnd() {
  {
    std::lock_guard<std::mutex> lock(g_mu);
    if (!g_composing) return;
    g_composing = false;
  }
  if (HWND h = KeyTarget()) PostMessage(h, WM_IME_ENDCOMPOSITION, 0, 0);
}

bool IsKeyDown(uint32_t vk) {
  std::lock_guard<std::mutex> lock(g_mu);
  return g_keys_down.count(vk) != 0;
}

bool IsComposing() {
  std::lock_guard<std::mutex> lock(g_mu);
  return g_composing;
}

}  // namespace brantel
