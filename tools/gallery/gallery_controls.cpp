#include "tools/gallery/gallery_controls.h"

#include "controls/update_bar_drawing.h"
#include "controls/viewer_fonts.h"
#include "protocol/app_messages.h"

namespace brantel::gallery {
namespace {

struct MainTab {
  int tab_id;
  int left;
  const char16_t* caption;
  uint32_t normal_icon;
  uint32_t selected_icon;
};

constexpr MainTab kMainTabs[] = {
    {11000, 20, u"마이페이지", 1011, 1012},
    {11001, 175, u"시장정보", 1016, 1015},
    {11002, 330, u"종목검색", 1013, 1014},
};

}  // namespace

void AddMainTabs(TabStripState& state) {
  for (const MainTab& tab : kMainTabs)
    state.AddTab(KWTab{tab.tab_id, Rect{tab.left, 0, tab.left + 130, 88}, Rect{32, 0, 98, 66}, Rect{0, 66, 130, 88},
                       tab.caption, tab.normal_icon, tab.selected_icon, u""});
}

TabStripLook MainTabBarLook() {
  TabStripLook look;
  look.background = 1010;
  look.highlight = 1009;
  look.font = ViewerFont(18);
  return look;
}

void DrawMainTabBar(DeviceContext& dc) {
  TabStripState tabs;
  AddMainTabs(tabs);
  const Point origin = dc.origin();
  dc.SetOrigin(Point{origin.x + kTabBarRect.left, origin.y + kTabBarRect.top});
  DrawTabStrip(dc, Rect{0, 0, kTabBarRect.Width(), kTabBarRect.Height()}, tabs, MainTabBarLook(), ProcessResources());
  dc.SetOrigin(origin);
}

void DrawGalleryUpdateBar(DeviceContext& dc, const Rect& where, int frame) {
  const Point origin = dc.origin();
  dc.SetOrigin(Point{origin.x + where.left, origin.y + where.top});
  DrawUpdateBar(dc, Rect{0, 0, where.Width(), where.Height()}, ProcessResources(), kGalleryLastUpdate, frame);
  dc.SetOrigin(origin);
}

void ControlsPageWindows::Show(Window* page_window) {
  Hide();
  tabs_ = std::make_unique<CKWTabCtrl>();
  tabs_->Create(kTabBarRect, page_window, ProcessResources(), 10000);
  const TabStripLook look = MainTabBarLook();
  tabs_->SetBackground(look.background);
  tabs_->SetHighlight(look.highlight);
  tabs_->SetFont(look.font);
  TabStripState state;
  AddMainTabs(state);
  for (const KWTab& tab : state.tabs()) tabs_->AddTab(tab);

  update_bar_ = std::make_unique<CUpdateBarWnd>();
  update_bar_->Create(kUpdateBarRect, page_window, 0, 10001);
  update_bar_->SetLastUpdate(kGalleryLastUpdate);
  update_bar_->Send(WM_LIST_UPDATE_BEGIN, 2, 0);

  idle_update_bar_ = std::make_unique<CUpdateBarWnd>();
  idle_update_bar_->Create(kIdleUpdateBarRect, page_window, 0, 10002);
  idle_update_bar_->SetLastUpdate(kGalleryLastUpdate);
}

void ControlsPageWindows::Hide() {
  if (update_bar_) update_bar_->Destroy();
  if (idle_update_bar_) idle_update_bar_->Destroy();
  if (tabs_) tabs_->Destroy();
  update_bar_.reset();
  idle_update_bar_.reset();
  tabs_.reset();
}

}  // namespace brantel::gallery
