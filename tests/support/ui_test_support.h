#pragma once
// Shared by the window-system tests: a window that records what it got, and
// a parent that keeps the notifications of the control under test.

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/message_queue.h"

namespace brantel::testing {

struct Received {
  uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};

class RecordingWindow : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    log.push_back({message, wParam, lParam});
    if (auto it = on.find(message); it != on.end()) return it->second(wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
  }
  int Count(uint32_t message) const {
    return int(std::count_if(log.begin(), log.end(), [&](const Received& r) { return r.message == message; }));
  }
  std::vector<uint32_t> Messages() const {
    std::vector<uint32_t> out;
    for (auto& r : log) out.push_back(r.message);
    return out;
  }
  std::vector<Received> Only(uint32_t message) const {
    std::vector<Received> out;
    for (auto& r : log)
      if (r.message == message) out.push_back(r);
    return out;
  }
  // The wParam of each `message` logged so far; the log then starts again.
  std::vector<WPARAM> TakeParams(uint32_t message) {
    std::vector<WPARAM> out;
    for (auto& r : Only(message)) out.push_back(r.wParam);
    log.clear();
    return out;
  }
  bool CreateTop(const Rect& rect, const std::u16string& text = u"", bool visible = true) {
    return Create(u"TestWindow", text, visible ? WS_VISIBLE : 0, rect, nullptr, 0);
  }
  bool CreateChild(Window& parent, const Rect& rect, int id, bool visible = true) {
    return Create(u"TestChild", u"", WS_CHILD | (visible ? WS_VISIBLE : 0), rect, &parent, id);
  }

  std::vector<Received> log;
  std::map<uint32_t, std::function<LRESULT(WPARAM, LPARAM)>> on;
};

// The parent of a control under test: keeps wParam and lParam of each
// `notification` it gets and paints nothing itself, so the screen shows only
// what the control draws.
class NotifiedParent : public Window {
 public:
  explicit NotifiedParent(uint32_t notification) : notification_(notification) {}
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == notification_) got.emplace_back(wParam, lParam);
    if (message == WM_PAINT) {
      Validate();
      return 0;
    }
    return DefWindowProc(message, wParam, lParam);
  }
  std::vector<std::pair<WPARAM, LPARAM>> got;

 private:
  uint32_t notification_;
};

// Dispatches everything queued now; returns how many messages it handled.
inline int Drain() {
  int n = 0;
  Message msg;
  while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    ++n;
    DispatchMessage(&msg);
  }
  return n;
}

}  // namespace brantel::testing
