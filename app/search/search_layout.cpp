#include "app/search/search_layout.h"

#include "controls/image_drawing.h"

namespace brantel {

SearchLayout LayoutSearchScreen(int width, int height) {
  SearchLayout l;
  l.edit = Rect{26, 31, 26 + 280, 31 + 25};
  l.button = Rect{width - 67, 12, width - 67 + 62, 12 + 62};
  l.list = Rect{0, kSearchBarHeight, width, height - 127};
  l.update_bar = Rect{0, height - 92, width, height - 52};
  l.menu_bar = Rect{0, height - 52, width, height};
  return l;
}

void PaintSearchBar(DeviceContext& dc, const ResourceLibraryRef& library, int width) {
  DrawResourcePicture(dc, 0, 0, width, kSearchBarHeight, library, 1052);
  DrawResourcePicture(dc, 14, 12, 12, 62, library, 1053);
  DrawResourcePicture(dc, 26, 12, 364, 62, library, 1055);
  DrawResourcePicture(dc, 390, 12, 12, 62, library, 1054);
}

}  // namespace brantel
