#pragma once
// Pointer extras of the device: the coalesced points of a move, the
// tap-and-hold recogniser, and the cursor position.

#include <cstdint>

#include "platform/gfx/geometry.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// The screen position of the finger (last known), in pixels.
bool GetCursorPos(Point* screen_point);

// The points the finger passed through for the WM_MOUSEMOVE being handled
// (the moves coalesced into it), oldest first, in screen coordinates times 4
// (quarter pixels). At most 100 points, the most recent kept. False when
// there are none.
constexpr uint32_t kMaxMouseMovePoints = 100;
bool GetMouseMovePoints(Point* points, uint32_t capacity, uint32_t* count);

// Tap-and-hold: called on finger down, waits (handling other messages) until
// the finger lifts or moves more than kTapHoldSlop pixels (returns 0; the
// pointer message stays queued) or stays down kTapHoldMs (returns
// GESTURE_CONTEXT_MENU; without TAPHOLD_RETURN_COMMAND the window is also sent
// WM_CONTEXTMENU with the screen point).
constexpr uint32_t TAPHOLD_RETURN_COMMAND = 0x0001;
constexpr uint32_t TAPHOLD_NOTIFY_PARENT = 0x0002;
constexpr uint32_t TAPHOLD_NO_ANIMATION = 0x0010;
constexpr uint32_t GESTURE_CONTEXT_MENU = 1000;
constexpr uint32_t WM_CONTEXTMENU = 0x007B;
constexpr uint32_t kTapHoldMs = 500;
constexpr int kTapHoldSlop = 5;
uint32_t RecognizeTapAndHold(HWND hwnd, Point screen_point, uint32_t flags);

}  // namespace brantel
