#pragma once
// Where the parts of the search screen stand in its client area (W x H) and
// the painting of its search bar.

#include "platform/gfx/device_context.h"
#include "platform/resources/resource_library.h"

namespace brantel {

inline constexpr int kSearchBarHeight = 86;

struct SearchLayout {
  Rect edit;
  Rect button;
  Rect list;
  Rect update_bar;
  Rect menu_bar;
};

SearchLayout LayoutSearchScreen(int width, int height);

// The band (1052) and the field (1053 left cap, 1055 body, 1054 right cap).
void PaintSearchBar(DeviceContext& dc, const ResourceLibraryRef& library, int width);

}  // namespace brantel
