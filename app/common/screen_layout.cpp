#include "app/common/screen_layout.h"

#include "platform/ui/screen.h"

namespace brantel {

ScreenLayout LayOutScreen(int width, int height) {
  ScreenLayout l;
  l.menu_bar = Rect{0, height - kMenuBarHeight, width, height};
  l.update_bar = Rect{0, l.menu_bar.top - kUpdateBarHeight, width, l.menu_bar.top};
  l.list = Rect{0, 0, width, l.update_bar.top};
  return l;
}

Rect ScreenRectBelowTabBar(const Rect& main_client) {
  return Rect{0, kMainTabBarHeight, main_client.Width(), main_client.Height()};
}

Rect PortraitDialogRect() {
  const Size screen = GetScreenSize();
  return Rect{0, kSystemBarHeight, screen.cx, screen.cy};
}

}  // namespace brantel
