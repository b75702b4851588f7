#pragma once
// CCeProgressCtrl: the updater's progress bar. In image style the filled
// part is the fill picture tiled across it, the rest the background colour,
// and the text is centred over the whole bar in two colours: one over the
// filled part, the other over the rest.

#include "platform/gfx/device_context.h"
#include "platform/gfx/font.h"
#include "platform/gfx/surface.h"
#include "platform/ui/window.h"

namespace brantel {

struct ProgressBarLook {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  bool image_style = true;
  COLORREF background = 0x525252;
  COLORREF fill_color = 0xC08040;    // fills when there is no picture
  COLORREF text_over_fill = 0xFFFFFF;
  COLORREF text_over_rest = 0xFFFFFF;
  WideText text = u"0 %";
};

// Width of the filled part of a bar `width` pixels wide; positions outside
// the range are held at its ends, an empty range fills nothing.
int FilledWidth(const ProgressBarLook& look, int width);

// Paints a bar into `rect` of `dc`.
void PaintProgressBar(DeviceContext& dc, const Rect& rect, const ProgressBarLook& look, const Surface& fill,
                      const Font& font);

class CCeProgressCtrl : public Window {
 public:
  bool Create(const Rect& rect, Window* parent, int id);

  void SetRange(int minimum, int maximum);
  void SetPos(int position);
  void SetText(WideView text);
  void SetFillImage(Surface fill) { fill_ = std::move(fill); Invalidate(); }
  void SetColors(COLORREF background, COLORREF text_over_fill, COLORREF text_over_rest);
  void SetFont(const Font& font) { font_ = font; Invalidate(); }

  const ProgressBarLook& look() const { return look_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  ProgressBarLook look_;
  Surface fill_;
  Font font_;
};

}  // namespace brantel
