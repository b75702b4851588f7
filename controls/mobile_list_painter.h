#pragma once
// Painting of the list body: rows, cells, separators, the pinned section
// header and the fading scroll thumb, drawn into an off-screen frame and
// copied to the window in one block. The frame is shared by the lists a
// thread paints; a painter holds the pinned-header and thumb buffers between
// paints.

#include <functional>
#include <memory>

#include "controls/mobile_list_layout.h"
#include "platform/gfx/device_context.h"

namespace brantel {

// What the screens choose about the list's look.
struct MobileListLook {
  COLORREF background = 0x000000;
  std::shared_ptr<const Surface> background_bitmap;
  std::shared_ptr<const Surface> row_background;  // stretched into each row
  std::shared_ptr<const Surface> selection_image;  // at the selected row's top-left
  COLORREF selection_color = 0x7F4F1F;             // without a selection image
  Pen separator{PS_SOLID, 1, 0x585858};
  std::shared_ptr<const Surface> thumb_top, thumb_body, thumb_bottom;
  COLORREF thumb_color = 0xA0A0A0;  // without thumb pictures
  int thumb_width = 6;
  bool scroll_bar = true;
  // Draws the resource picture `id` stretched into a rectangle (cells
  // without a bitmap); unset draws nothing.
  std::function<void(DeviceContext&, uint32_t id, const Rect&)> draw_picture;
};

// What a frame shows besides the rows.
struct MobileListFrame {
  int width = 0;
  int height = 0;
  int position = 0;
  int content = 0;
  int pressed = -1;
  int selected = -1;
  bool edit_lock = false;
  int thumb_alpha = 255;
  bool thumb_hidden = false;
};

class MobileListPainter {
 public:
  // Paints the whole frame and copies it to `window` at (0, 0).
  void Paint(DeviceContext& window, MobileListRows& rows, const MobileListMetrics& metrics,
             const MobileListLook& look, const MobileListFrame& frame);
  // The pinned header is rendered again at the next paint.
  void ForgetPinnedHeader() { pinned_row_ = -1; }

 private:
  void PaintRow(DeviceContext& dc, MobileListRow& row, int y, int width, const MobileListMetrics& metrics,
                const MobileListLook& look, bool highlighted);
  void PaintPinnedHeader(DeviceContext& dc, MobileListRows& rows, const MobileListMetrics& metrics,
                         const MobileListLook& look, const MobileListFrame& frame);
  void PaintThumb(DeviceContext& dc, const MobileListMetrics& metrics, const MobileListLook& look,
                  const MobileListFrame& frame);

  Surface pinned_;
  int pinned_row_ = -1;
  Surface thumb_;
};

}  // namespace brantel
