// Picture decoders on arbitrary bytes: PNG, GIF first frame and all frames.
// Whatever decodes is also drawn, stretched and blended, so the drawing code
// sees every size and alpha a hostile file can produce.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gfx/device_context.h"
#include "platform/gfx/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brantel;
  const std::span<const uint8_t> bytes(data, size);
  Surface target(24, 24);
  DeviceContext dc(target);
  dc.SetStretchBltMode(STRETCH_SMOOTH);
  if (auto picture = DecodePicture(bytes)) {
    dc.DrawPicture(*picture, Rect{-3, 2, 20, 17});
    dc.TransparentBlt(0, 0, 24, 24, *picture, 0, 0, picture->width(), picture->height(), RGB(255, 0, 255));
  }
  if (auto animation = DecodeGifFrames(bytes)) {
    for (const Surface& frame : animation->frames)
      dc.AlphaBlend(0, 0, 7, 9, frame, 0, 0, frame.width(), frame.height(), BlendFunction{128, AC_SRC_ALPHA});
  }
  DecodePng(bytes);
  return 0;
}
