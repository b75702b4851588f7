#include "controls/image_drawing.h"

#include <algorithm>

#include "platform/gfx/picture.h"

namespace brantel {

namespace {

constexpr BlendFunction kPictureAlpha{255, AC_SRC_ALPHA};

}  // namespace

Surface DecodeImage(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return {};
  std::optional<Surface> decoded = DecodePicture(bytes);
  return decoded ? std::move(*decoded) : Surface();
}

bool HasAlpha(const Surface& image) {
  const uint32_t* p = image.data();
  for (size_t i = 0, n = size_t(image.width()) * size_t(image.height()); i < n; ++i)
    if ((p[i] >> 24) != 0xFF) return true;
  return false;
}

int DrawImage(DeviceContext& dc, int x, int y, const Surface& image) {
  return DrawImagePart(dc, x, y, image.width(), image.height(), image, 0, 0);
}

int DrawImage(DeviceContext& dc, int x, int y, int width, int height, const Surface& image) {
  return DrawImagePart(dc, x, y, width, height, image, 0, 0);
}

int DrawImagePart(DeviceContext& dc, int x, int y, int width, int height, const Surface& image, int src_x, int src_y) {
  // Cut the source to the picture first: a blend maps its whole source
  // rectangle onto the target, so an overhanging part would stretch.
  const Rect source = Rect::FromSize(src_x, src_y, width, height).Intersect(image.bounds());
  if (!source.IsEmpty()) {
    dc.AlphaBlend(x + source.left - src_x, y + source.top - src_y, source.Width(), source.Height(), image,
                  source.left, source.top, source.Width(), source.Height(), kPictureAlpha);
  }
  return height;
}

int StretchImage(DeviceContext& dc, const Rect& dest, const Surface& image) {
  if (image.empty()) return 0;
  dc.AlphaBlend(dest.left, dest.top, dest.Width(), dest.Height(), image, 0, 0, image.width(), image.height(),
                kPictureAlpha);
  return dest.Height();
}

int DrawImageTransparent(DeviceContext& dc, const Rect& dest, const Surface& image, COLORREF transparent) {
  if (image.empty()) return 0;
  if (HasAlpha(image)) return StretchImage(dc, dest, image);
  dc.TransparentBlt(dest.left, dest.top, dest.Width(), dest.Height(), image, 0, 0, image.width(), image.height(),
                    transparent);
  return dest.Height();
}

int TileImage(DeviceContext& dc, int left, int top, int width, const Surface& image) {
  if (image.empty() || width <= 0) return 0;
  for (int x = 0; x < width; x += image.width())
    DrawImagePart(dc, left + x, top, std::min(image.width(), width - x), image.height(), image, 0, 0);
  return width;
}

int DrawResourcePicture(DeviceContext& dc, int x, int y, int width, int height, const ResourceLibraryRef& library,
                        uint32_t number, int type_code) {
  if (!library || width < 0 || height < 0 || type_code < 0) return 0;
  const std::shared_ptr<const Surface> picture = library->DecodedPicture(uint32_t(type_code), number);
  if (!picture || picture->empty()) return 0;
  if (width == 0) width = picture->width();
  if (height == 0) height = picture->height();
  if (width == picture->width() && height == picture->height()) return DrawImage(dc, x, y, *picture);
  return StretchImage(dc, Rect::FromSize(x, y, width, height), *picture);
}

}  // namespace brantel
