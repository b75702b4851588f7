#pragma once
// The composed screen: top-level windows drawn in z-order from their backing
// surfaces. The display presents it; dialogs read it back to dim it behind
// themselves.

#include <string>

#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// 480 x 800 in portrait, 800 x 480 in landscape.
Size GetScreenSize();
// The screen below the 52-pixel system bar (the whole screen while the bar
// is hidden).
Rect GetWorkArea();
constexpr int kSystemBarHeight = 52;

// Composes the screen now and copies it into `out`.
void CopyScreen(Surface& out);
// The same with only the top-level windows below `window` (a dialog that is
// already shown reads what lies behind it). The whole screen when `window`
// is not a shown top-level window.
void CopyScreenBelow(HWND window, Surface& out);
// Composes now and writes a PNG. False when it could not be written.
bool SaveScreenshot(const std::string& path);

// Internal to the window system: composes when something changed since the
// last time; true when the screen changed. `screen` is then the result.
bool ComposeIfDirty(Surface& screen);
// Composes only `area` of `screen` (resized, and then composed whole, when
// its size is not the screen's).
void ComposeScreenArea(Surface& screen, const Rect& area);
void SetScreenSizeInternal(int width, int height);
void SetSystemBarVisibleInternal(bool visible);
bool IsSystemBarVisible();

}  // namespace brantel
