#pragma once
// Drawing routines for resource pictures shared by the controls: draw at a
// point (own or given size), draw a part, stretch, colour-keyed draw, and a
// picture tiled across a width. Each returns the drawn height or width.
//
// Pictures are drawn over what is already there with their own per-pixel
// alpha, so the transparent and half-transparent parts of a PNG show the
// background through them; opaque pictures come out exactly as copied.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"

namespace brantel {

// Decodes PNG or GIF bytes; an empty surface when they do not decode.
Surface DecodeImage(std::span<const uint8_t> bytes);
// True when some pixel of `image` is not fully opaque.
bool HasAlpha(const Surface& image);

// Draws `image` with its top-left corner at (x, y); returns its height.
int DrawImage(DeviceContext& dc, int x, int y, const Surface& image);
// Draws the top-left `width` x `height` part; returns `height`.
int DrawImage(DeviceContext& dc, int x, int y, int width, int height, const Surface& image);
// Draws the part of `image` from (src_x, src_y); returns `height`. Only
// the part that lies inside the picture is drawn, never stretched.
int DrawImagePart(DeviceContext& dc, int x, int y, int width, int height, const Surface& image, int src_x, int src_y);
// Stretches the whole image into `dest`; returns its height.
int StretchImage(DeviceContext& dc, const Rect& dest, const Surface& image);
// Stretches the image into `dest` leaving out the pixels whose colour is
// `transparent`. A picture that carries its own alpha needs no key and is
// drawn with its alpha instead.
int DrawImageTransparent(DeviceContext& dc, const Rect& dest, const Surface& image, COLORREF transparent);
// Repeats the image from x = left in steps of its width until `width` is
// covered (the last copy cut); returns the width covered.
int TileImage(DeviceContext& dc, int left, int top, int width, const Surface& image);

// Draws picture `number` of `library` stretched into (x, y, width, height);
// a width or height of 0 takes the picture's own. The picture is decoded
// once and kept by the library, so painting never decodes. A missing or
// undecodable picture (or a null library) draws nothing and returns 0;
// otherwise returns the drawn height.
int DrawResourcePicture(DeviceContext& dc, int x, int y, int width, int height, const ResourceLibraryRef& library,
                        uint32_t number, int type_code = 2);

}  // namespace brantel
