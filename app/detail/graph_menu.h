#pragma once
// CGraphMenuDlg: the landscape period menu. A framed list of the periods
// slides open from its anchor beside the period button; a release on an item
// posts WM_PERIOD_CHOSEN (item id) to the detail, a tap outside slides it
// shut and posts WM_PERIOD_CHOSEN (0). The detail destroys it then.
//
// It is a child window over the whole detail, so a tap anywhere reaches it;
// it paints only its frame, over what the detail painted.

#include <optional>

#include "app/detail/graph_menu_state.h"
#include "platform/gfx/device_context.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr uintptr_t kGraphMenuSlideTimer = 2200;

class CGraphMenuDlg : public Window {
 public:
  bool Create(Window* detail, const ResourceLibraryRef& library, int anchor_right, int top);
  const GraphMenuState& state() const { return *state_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void InvalidateFrame();

  HWND detail_ = 0;
  ResourceLibraryRef library_;
  std::optional<GraphMenuState> state_;
  bool reported_ = false;
};

void PaintGraphMenu(DeviceContext& dc, const GraphMenuState& state, const ResourceLibraryRef& library);

}  // namespace brantel
