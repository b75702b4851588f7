#pragma once
// Drawing straight to the presented screen from any thread.
//
// An animation thread (the loading dialog's, the stock detail's) keeps the
// picture moving while the window thread is blocked in a long call: it draws
// a part of its window and puts that part on the screen at once, without
// waiting for the window thread to paint or the display to compose.

#include <functional>
#include <mutex>

#include "platform/gfx/device_context.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// Draws into `client_rect` of `hwnd` (client coordinates; the clip keeps the
// drawing inside it and inside the window's visible part), composes that
// area of the screen from the top-level windows and presents it through the
// display (headless as well). Any thread. False, drawing nothing, when the
// window is gone or hidden or the area is not visible.
//
// `draw` runs under the window system's lock: it must only draw, never call
// window functions (InvalidateRect, PostMessage to windows, IsWindow ...).
bool DrawAndPresent(HWND hwnd, const Rect& client_rect, const std::function<void(DeviceContext&)>& draw);

// Internal: held while any thread draws into a top-level backing surface
// (PaintScope and DrawAndPresent), so a window thread's painting and an
// animation thread's drawing never touch the same pixels at once.
std::recursive_mutex& BackingSurfaceLock();

}  // namespace brantel
