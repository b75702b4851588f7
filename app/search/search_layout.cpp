#include "app/search/search_layout.h"

#include "app/common/screen_layout.h"
#include "controls/image_drawing.h"

namespace brantel {

namespace {

constexpr int kSearchListGap = 35;

}  // namespace

SearchLayout LayoutSearchScreen(int width, int height) {
  const ScreenLayout screen = LayOutScreen(width, height);
  SearchLayout l;
  l.edit = Rect{26, 31, 26 + 280, 31 + 25};
  l.button = Rect{width - 67, 12, width - 67 + 62, 12 + 62};
  // The list ends short of the update bar.
  l.list = Rect{0, kSearchBarHeight, width, screen.update_bar.top - kSearchListGap};
  l.update_bar = screen.update_bar;
  l.menu_bar = screen.menu_bar;
  return l;
}

void PaintSearchBar(DeviceContext& dc, const ResourceLibraryRef& library, int width) {
  DrawResourcePicture(dc, 0, 0, width, kSearchBarHeight, library, 1052);
  DrawResourcePicture(dc, 14, 12, 12, 62, library, 1053);
  DrawResourcePicture(dc, 26, 12, 364, 62, library, 1055);
  DrawResourcePicture(dc, 390, 12, 12, 62, library, 1054);
}

}  // namespace brantel
