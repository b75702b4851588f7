#pragma once
// Painting a window: the part of its top-level window's backing surface that
// belongs to it, with a clip that keeps drawing inside its visible part.
//
// In a WM_PAINT handler:
//   PaintScope paint(*this);   // takes and clears the invalid part
//   DeviceContext& dc = paint.dc();   // client coordinates, clipped
// A DrawScope gives the same outside WM_PAINT (clip = the whole visible part)
// and leaves the invalid part alone. Either one marks the screen for
// composition when it ends.

#include <mutex>
#include <optional>

#include "platform/gfx/device_context.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"
#include "platform/ui/window.h"

namespace brantel {

class PaintScope {
 public:
  explicit PaintScope(Window& window) : PaintScope(window, true) {}
  ~PaintScope();
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  // Draws in the window's client coordinates. When the window is hidden the
  // clip is empty and drawing does nothing.
  DeviceContext& dc() { return *dc_; }
  // False when there is nothing visible to draw on (drawing may be skipped).
  bool visible() const { return !clip_.IsEmpty(); }
  // The invalid part in client coordinates (the whole client for DrawScope).
  Rect dirty() const { return dirty_; }
  // The top-level backing surface and where the client's (0,0) lies on it.
  Surface& surface() { return dc_->surface(); }
  Point origin() const { return origin_; }
  Rect clip() const { return clip_; }  // surface coordinates

 protected:
  PaintScope(Window& window, bool validate);

 private:
  Window& window_;
  // An animation thread's DrawAndPresent waits while this scope draws.
  std::lock_guard<std::recursive_mutex> surfaces_;
  Surface empty_;
  Point origin_;
  Rect clip_;
  Rect dirty_;
  std::optional<DeviceContext> dc_;
};

class DrawScope : public PaintScope {
 public:
  explicit DrawScope(Window& window) : PaintScope(window, false) {}
};

}  // namespace brantel
