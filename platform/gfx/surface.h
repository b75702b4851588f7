#pragma once
// A 32-bit pixel surface: the screen, a window's backing store, an off-screen
// bitmap or a decoded picture.
//
// Pixels are 0xAARRGGBB in memory order of a uint32_t (the layout SDL calls
// ARGB8888). The system's own colours are COLORREF values (0x00BBGGRR); convert
// with ColorRefToPixel / PixelToColorRef at the drawing boundary.

#include <cstdint>
#include <vector>

#include "platform/gfx/geometry.h"

namespace brantel {

using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }
constexpr uint8_t GetRValue(COLORREF c) { return uint8_t(c); }
constexpr uint8_t GetGValue(COLORREF c) { return uint8_t(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) { return uint8_t(c >> 16); }

constexpr uint32_t ColorRefToPixel(COLORREF c, uint8_t alpha = 0xFF) {
  return (uint32_t(alpha) << 24) | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF PixelToColorRef(uint32_t p) { return RGB(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)); }

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, uint32_t fill = 0xFF000000) { Resize(width, height, fill); }

  void Resize(int width, int height, uint32_t fill = 0xFF000000) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(size_t(width_) * size_t(height_), fill);
  }

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }
  Rect bounds() const { return {0, 0, width_, height_}; }
  void Fill(uint32_t p) { pixels_.assign(pixels_.size(), p); }
  uint32_t* row(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
  const uint32_t* row(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }
  uint32_t* data() { return pixels_.data(); }
  const uint32_t* data() const { return pixels_.data(); }
  uint32_t at(int x, int y) const { return row(y)[x]; }
  void set(int x, int y, uint32_t p) { row(y)[x] = p; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace brantel
