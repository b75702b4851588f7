#pragma once
// The controls page: the main tab bar as the viewer sets it up and the
// update bar. In the gallery window they are live child windows (the tab
// bar reacts to taps, the update bar animates); --pages draws them through
// the same drawing functions at a fixed state.

#include <memory>

#include "controls/kw_tab_ctrl.h"
#include "controls/update_bar_wnd.h"
#include "platform/gfx/device_context.h"

namespace brantel::gallery {

constexpr Rect kTabBarRect{0, 80, 480, 168};
constexpr Rect kUpdateBarRect{0, 240, 480, 280};      // animating
constexpr Rect kIdleUpdateBarRect{0, 340, 480, 380};  // at rest
inline constexpr char16_t kGalleryLastUpdate[] = u"26/12/07 09:41:05";

// The three tabs and the look of the main tab bar.
void AddMainTabs(TabStripState& state);
TabStripLook MainTabBarLook();

// The tab bar at kTabBarRect with its first tab selected, and an update
// bar in `where` at animation frame `frame` (-1 idle).
void DrawMainTabBar(DeviceContext& dc);
void DrawGalleryUpdateBar(DeviceContext& dc, const Rect& where, int frame);

// The live controls while the page is shown.
class ControlsPageWindows {
 public:
  void Show(Window* page_window);
  void Hide();

 private:
  std::unique_ptr<CKWTabCtrl> tabs_;
  std::unique_ptr<CUpdateBarWnd> update_bar_;
  std::unique_ptr<CUpdateBarWnd> idle_update_bar_;
};

}  // namespace brantel::gallery
