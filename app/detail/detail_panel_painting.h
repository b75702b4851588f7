#pragma once
// Painting of the detail panel's content: the current quote with its price
// box, the 52-week summary with the small chart, the daily rows, and the
// scroll thumb.

#include <vector>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "protocol/records.h"

namespace brantel {

struct DetailPanelContent {
  const StockDetailRecord* record = nullptr;
  const std::vector<StockRecord>* daily = nullptr;
  const Surface* small_chart = nullptr;  // may be empty
  // False while the record is a list row's: high, low, volume and the
  // 52-week values are not known yet and show empty (not the row's zeros).
  bool full_quote = true;
};

struct PanelThumb {
  int length = 0;  // 0: no thumb
  int alpha = 255;
  bool hidden = false;
};

// The small chart's rectangle in content coordinates (scroll 0).
inline constexpr Rect kSmallChartRect{22, 239, 221, 354};

// Paints the content scrolled by `scroll` into the whole of (0, 0)-size.
void PaintDetailPanel(DeviceContext& dc, Size size, int scroll, int content_height, const DetailPanelContent& content,
                      const PanelThumb& thumb, const ResourceLibraryRef& library);

}  // namespace brantel
