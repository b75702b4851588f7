#pragma once
// CHelpPageWnd: the scrolling text of the help dialog. The flicking window
// turns drags into the scroll position (with inertia and the rubber band);
// the page draws its rows moved by it and a scroll thumb that fades out
// after a motion ends.

#include "controls/flicking_ctrl.h"
#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"

namespace brantel {

inline constexpr uintptr_t kHelpThumbFadeTimer = 9009;
inline constexpr int kHelpThumbWidth = 15;

class CHelpPageWnd : public CFlickingCtrl {
 public:
  bool Create(const Rect& rect, Window* parent);
  int thumb_alpha() const { return thumb_alpha_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void DrawPage(DeviceContext& dc, const Rect& client);

  Surface buffer_;
  Surface thumb_;
  int thumb_alpha_ = 0;
};

}  // namespace brantel
