#pragma once
// Produces the source pixels for a (possibly stretched) blit, one visible
// destination row at a time, so blits never allocate a whole stretched copy.
//
// Nearest mode samples the source pixel under each destination pixel's
// centre. Smooth mode filters bilinearly, weighting colours by alpha so the
// colour of transparent pixels never bleeds into the edges of a picture.

#include <cstdint>
#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"

namespace brantel {

class StretchSampler {
 public:
  // `dest` is the whole destination rectangle, `visible` the part to draw
  // (both in target pixels); `source` is cut to the source surface.
  // valid() is false when nothing can be drawn.
  StretchSampler(const Surface& src, const Rect& source, const Rect& dest, const Rect& visible, bool smooth);

  bool valid() const { return valid_; }
  const Rect& visible() const { return visible_; }
  // Source pixels for target row `y` (inside visible), visible.Width() long.
  // The pointer stays valid until the next call.
  const uint32_t* Row(int y);

 private:
  const Surface& src_;
  Rect source_;
  Rect dest_;
  Rect visible_;
  bool smooth_ = false;
  bool identity_ = false;
  bool valid_ = false;
  std::vector<int> x0_;      // nearest or left source column per target column
  std::vector<uint16_t> fx_;  // smooth: weight of the right column, 0..256
  std::vector<uint32_t> row_;
};

}  // namespace brantel
