#include "controls/image_drawing.h"

#include "platform/gfx/picture.h"

namespace brantel {

Surface DecodeImage(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return {};
  std::optional<Surface> decoded = DecodePicture(bytes);
  return decoded ? std::move(*decoded) : Surface();
}

int DrawImage(DeviceContext& dc, int x, int y, const Surface& image) {
  dc.BitBlt(x, y, image.width(), image.height(), image, 0, 0);
  return image.height();
}

int DrawImage(DeviceContext& dc, int x, int y, int width, int height, const Surface& image) {
  dc.BitBlt(x, y, width, height, image, 0, 0);
  return height;
}

int DrawImagePart(DeviceContext& dc, int x, int y, int width, int height, const Surface& image, int src_x, int src_y) {
  dc.BitBlt(x, y, width, height, image, src_x, src_y);
  return height;
}

int StretchImage(DeviceContext& dc, const Rect& dest, const Surface& image) {
  if (image.empty()) return 0;
  dc.StretchBlt(dest.left, dest.top, dest.Width(), dest.Height(), image, 0, 0, image.width(), image.height());
  return dest.Height();
}

int DrawImageTransparent(DeviceContext& dc, const Rect& dest, const Surface& image, COLORREF transparent) {
  if (image.empty()) return 0;
  dc.TransparentBlt(dest.left, dest.top, dest.Width(), dest.Height(), image, 0, 0, image.width(), image.height(),
                    transparent);
  return dest.Height();
}

int TileImage(DeviceContext& dc, int left, int top, int width, const Surface& image) {
  if (image.empty() || width <= 0) return 0;
  for (int x = 0; x < width; x += image.width())
    dc.BitBlt(left + x, top, std::min(image.width(), width - x), image.height(), image, 0, 0);
  return width;
}

}  // namespace brantel
