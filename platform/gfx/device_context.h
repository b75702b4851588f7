#pragma once
// A device context: draws into a Surface through an origin offset and a clip
// rectangle, with the drawing operations of the device's GDI that the
// system's screens use.
//
// Coordinates given to the drawing calls are logical: device pixel =
// logical point + origin. The clip rectangle is kept in device pixels; the
// base clip given at construction (a window's visible part) can be narrowed
// with SetClipRect but never widened.
//
// Colours are COLORREF (0x00BBGGRR). Drawing into the surface writes opaque
// pixels (alpha 0xFF) except BitBlt/StretchBlt, which copy source pixels
// unchanged, alpha included, as the device's copies do.

#include <cstdint>

#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"
#include "platform/text.h"

namespace brantel {

// DrawText format flags, with the device's values.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;
constexpr unsigned DT_HIDEPREFIX = 0x100000;

// Background modes for text.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

// Stretch modes: COLORONCOLOR picks the nearest source pixel; HALFTONE
// (alias SMOOTH) filters bilinearly, for pictures.
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_SMOOTH = HALFTONE;

// AlphaBlend's blend description. With AC_SRC_ALPHA the source's own alpha
// (straight, not premultiplied: decoded pictures hold straight alpha) is
// applied as well, multiplied by the constant alpha.
constexpr uint8_t AC_SRC_OVER = 0;
constexpr uint8_t AC_SRC_ALPHA = 1;
struct BlendFunction {
  uint8_t constant_alpha = 255;
  uint8_t alpha_format = 0;  // 0 or AC_SRC_ALPHA
};

struct Pen {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct Brush {
  COLORREF color = 0;
};

class DeviceContext {
 public:
  // Draws over the whole surface, origin (0, 0).
  explicit DeviceContext(Surface& target);
  // Draws with the given origin (device position of logical (0, 0)) and base
  // clip (device pixels; cut to the surface).
  DeviceContext(Surface& target, Point origin, const Rect& device_clip);

  Surface& surface() { return *target_; }
  const Surface& surface() const { return *target_; }
  Point origin() const { return origin_; }
  // Moves the origin; the clip stays where it is on the surface.
  void SetOrigin(Point origin) { origin_ = origin; }

  // The clip in logical coordinates.
  Rect GetClipRect() const;
  // Narrows the clip to `logical` within the base clip; ResetClip restores it.
  void SetClipRect(const Rect& logical);
  void ResetClip() { clip_ = base_clip_; }

  // Fills and pixels.
  void FillSolid(const Rect& r, COLORREF color);
  void FillRect(const Rect& r, const Brush& brush) { FillSolid(r, brush.color); }
  void FillRect(const Rect& r, COLORREF color) { FillSolid(r, color); }
  // Blends `color` over the rectangle with constant alpha (the dimmed
  // backgrounds: black at 210 or 191).
  void BlendSolid(const Rect& r, COLORREF color, uint8_t alpha);
  COLORREF GetPixel(int x, int y) const;  // CLR_INVALID outside the clip
  void SetPixel(int x, int y, COLORREF color);

  // Lines: LineTo draws from the current position up to, not including, the
  // end point, and moves there (as on the device).
  Pen SelectPen(const Pen& pen);
  const Pen& pen() const { return pen_; }
  Point MoveTo(int x, int y);
  void LineTo(int x, int y);
  // A rectangle outline with the current pen.
  void FrameRect(const Rect& r);

  // Copies (source pixels taken unchanged, alpha included). Source
  // coordinates are pixels of `src`; parts outside either surface are skipped.
  void BitBlt(int x, int y, int width, int height, const Surface& src, int src_x, int src_y);
  void BitBlt(int x, int y, int width, int height, const DeviceContext& src, int src_x, int src_y);
  int SetStretchBltMode(int mode);
  int stretch_mode() const { return stretch_mode_; }
  void StretchBlt(int x, int y, int width, int height, const Surface& src, int src_x, int src_y, int src_width,
                  int src_height);
  // Copies the pixels whose colour (alpha ignored) is not `transparent`,
  // stretching with the nearest source pixel when the sizes differ.
  void TransparentBlt(int x, int y, int width, int height, const Surface& src, int src_x, int src_y, int src_width,
                      int src_height, COLORREF transparent);
  // Blends the source over the target (result opaque where the target was).
  void AlphaBlend(int x, int y, int width, int height, const Surface& src, int src_x, int src_y, int src_width,
                  int src_height, BlendFunction blend);
  // Draws a whole picture into `dest`: stretched with the current stretch
  // mode (smooth by default for pictures is the caller's choice), with its
  // per-pixel alpha. An empty picture draws nothing.
  void DrawPicture(const Surface& picture, const Rect& dest);

  // Text.
  Font SelectFont(const Font& font);  // returns the previous font
  const Font& font() const;
  COLORREF SetTextColor(COLORREF color);
  COLORREF text_color() const { return text_color_; }
  COLORREF SetBkColor(COLORREF color);
  int SetBkMode(int mode);  // TRANSPARENT or OPAQUE; returns the previous mode
  // Draws `text` in `rect` with DT_* flags; returns the text height (with
  // DT_VCENTER or DT_BOTTOM: the offset from rect.top to the bottom of the
  // text), 0 on failure. With DT_CALCRECT nothing is drawn and `rect` is
  // set to bound the text (see docs/drawing.md).
  int DrawText(WideView text, Rect& rect, unsigned format);
  int DrawText(WideView text, const Rect& rect, unsigned format) {
    Rect r = rect;
    return DrawText(text, r, format & ~DT_CALCRECT);
  }
  // Draws one line at (x, y) as its top-left corner; no prefixes or breaks.
  void TextOut(int x, int y, WideView text);
  // Size of one line of text in the current font (no prefixes or breaks).
  Size GetTextExtent(WideView text) const;

 private:
  Rect ToDevice(const Rect& logical) const { return logical.Offset(origin_.x, origin_.y); }
  void PlotPenPoint(int dx, int dy, uint32_t pixel, int& dash_step);

  Surface* target_;
  Point origin_{};
  Rect base_clip_{};
  Rect clip_{};
  Pen pen_{};
  Point position_{};
  Font font_{};
  COLORREF text_color_ = 0;
  COLORREF bk_color_ = 0xFFFFFF;
  int bk_mode_ = OPAQUE;
  int stretch_mode_ = COLORONCOLOR;
};

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

}  // namespace brantel
