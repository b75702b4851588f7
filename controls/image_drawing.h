#pragma once
// Drawing routines for resource pictures shared by the controls: copy at a
// point (own or given size), copy a part, stretch, colour-keyed copy, and a
// picture tiled across a width. Each returns the drawn height or width.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"

namespace brantel {

// Decodes PNG or GIF bytes; an empty surface when they do not decode.
Surface DecodeImage(std::span<const uint8_t> bytes);

// Copies `image` with its top-left corner at (x, y); returns its height.
int DrawImage(DeviceContext& dc, int x, int y, const Surface& image);
// Copies the top-left `width` x `height` part; returns `height`.
int DrawImage(DeviceContext& dc, int x, int y, int width, int height, const Surface& image);
// Copies the part of `image` from (src_x, src_y); returns `height`.
int DrawImagePart(DeviceContext& dc, int x, int y, int width, int height, const Surface& image, int src_x, int src_y);
// Stretches the whole image into `dest`; returns its height.
int StretchImage(DeviceContext& dc, const Rect& dest, const Surface& image);
// Copies the pixels that are not `transparent`, stretched into `dest`.
int DrawImageTransparent(DeviceContext& dc, const Rect& dest, const Surface& image, COLORREF transparent);
// Repeats the image from x = left in steps of its width until `width` is
// covered (the last copy cut); returns the width covered.
int TileImage(DeviceContext& dc, int left, int top, int width, const Surface& image);

}  // namespace brantel
