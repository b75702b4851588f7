#pragma once
// The handle and parameter types of window messages.

#include <cstdint>

#include "platform/gfx/geometry.h"

namespace brantel {

// A window handle: 0 is none. The high 32 bits are the id of the owning
// process, the low 32 bits a serial number that is never reused while the
// process runs, so a stale handle never reaches a newer window.
using HWND = uint64_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
// Identifies a thread's message queue (small numbers, never reused).
using ThreadId = uint32_t;

constexpr uint32_t HandleProcessId(HWND hwnd) { return uint32_t(hwnd >> 32); }
// True when `hwnd` belongs to the calling process.
bool IsLocalHandle(HWND hwnd);

struct Message {
  HWND hwnd = 0;
  uint32_t message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  uint32_t time = 0;  // GetTickCount when it was queued
  Point pt;           // pointer position (screen) when it was queued
};
using MSG = Message;

}  // namespace brantel
