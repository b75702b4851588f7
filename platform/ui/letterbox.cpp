#include "platform/ui/letterbox.h"

#include <algorithm>
#include <cmath>

namespace brantel {

Rect LetterboxRect(int output_w, int output_h, int screen_w, int screen_h) {
  if (output_w <= 0 || output_h <= 0 || screen_w <= 0 || screen_h <= 0) return Rect{};
  const double s = std::min(double(output_w) / screen_w, double(output_h) / screen_h);
  const int w = std::clamp(int(std::lround(screen_w * s)), 1, output_w);
  const int h = std::clamp(int(std::lround(screen_h * s)), 1, output_h);
  return Rect::FromSize((output_w - w) / 2, (output_h - h) / 2, w, h);
}

void LetterboxToScreen(const Rect& box, int screen_w, int screen_h, double out_x, double out_y, double* x,
                       double* y) {
  *x = (out_x - box.left) * screen_w / std::max(box.Width(), 1);
  *y = (out_y - box.top) * screen_h / std::max(box.Height(), 1);
}

Rect LetterboxFromScreen(const Rect& box, int screen_w, int screen_h, const Rect& screen_rect) {
  const double sx = double(box.Width()) / std::max(screen_w, 1), sy = double(box.Height()) / std::max(screen_h, 1);
  return Rect{box.left + int(std::floor(screen_rect.left * sx)), box.top + int(std::floor(screen_rect.top * sy)),
              box.left + int(std::ceil(screen_rect.right * sx)), box.top + int(std::ceil(screen_rect.bottom * sy))};
}

}  // namespace brantel
