#pragma once
// CMStockDetailWnd ("Stock Detail Window"): the scrolling panel of the
// portrait detail: the current quote, the 52-week summary with the small
// chart and the daily rows. It scrolls with the flicking behaviour, shows a
// fading thumb, and a tap on the small chart posts WM_SHOW_LANDSCAPE to the
// dialog.

#include <vector>

#include "app/detail/detail_panel_painting.h"
#include "controls/flicking_ctrl.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "protocol/records.h"

namespace brantel {

inline constexpr char16_t kStockDetailWindowName[] = u"Stock Detail Window";
inline constexpr uintptr_t kThumbFadeTimer = 9009;

class CMStockDetailWnd : public CFlickingCtrl {
 public:
  CMStockDetailWnd() = default;

  bool Create(const Rect& rect, Window* dialog, const ResourceLibraryRef& library);

  // The content: the record and daily rows stay the dialog's (they must
  // outlive the panel's next paint); the small chart is copied.
  // `full_quote`: whether the record holds the values only an answer brings.
  void SetContent(const StockDetailRecord* record, const std::vector<StockRecord>* daily, const bool* full_quote);
  void SetSmallChart(Surface chart);
  // Recomputes the content height and thumb after the content changed.
  void Layout();

  int content_height() const { return content_height_; }
  int thumb_length() const { return thumb_.length; }
  // The small chart's tap rectangle in client coordinates (moves with the scroll).
  Rect SmallChartTapRect() const { return kSmallChartRect.Offset(0, -VerticalPosition()); }
  void ScrollTo(int position);

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void OnScrolled(WPARAM kind);

  HWND dialog_ = 0;
  ResourceLibraryRef library_;
  const StockDetailRecord* record_ = nullptr;
  const std::vector<StockRecord>* daily_ = nullptr;
  const bool* full_quote_ = nullptr;
  Surface small_chart_;
  int content_height_ = 0;
  PanelThumb thumb_{0, 255, true};  // shown from the first touch on
  bool pressed_on_chart_ = false;
  Point down_;
};

}  // namespace brantel
