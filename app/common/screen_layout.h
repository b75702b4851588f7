#pragma once
// Where a screen's shared parts stand: the menu bar along the bottom of its
// client area, the update bar just above it, and the list above those. A
// screen with more parts (a search bar, a tab strip) places them against
// these rectangles.

#include "platform/gfx/geometry.h"
#include "platform/ui/soft_key_bar.h"

namespace brantel {

inline constexpr int kMenuBarHeight = kSoftKeyBarHeight;  // 52: the bar holds the soft keys
inline constexpr int kUpdateBarHeight = 40;
inline constexpr int kMainTabBarHeight = 88;  // the main dialog's tab bar above every screen
inline constexpr int kUpdateBarChildId = 10001;

struct ScreenLayout {
  Rect list;        // from the top down to the update bar
  Rect update_bar;
  Rect menu_bar;
};

// The rectangles for a client area of `width` x `height`.
ScreenLayout LayOutScreen(int width, int height);
inline ScreenLayout LayOutScreen(const Rect& client) { return LayOutScreen(client.Width(), client.Height()); }

// Where a screen sits in the main dialog's client area: below its tab bar.
Rect ScreenRectBelowTabBar(const Rect& main_client);

// A full-screen dialog's place in portrait: the screen below the system bar,
// whether the bar shows or not.
Rect PortraitDialogRect();

}  // namespace brantel
