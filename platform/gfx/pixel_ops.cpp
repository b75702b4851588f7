#include "platform/gfx/pixel_ops.h"

#include <algorithm>

namespace brantel::pixel_ops {
namespace {
// Eight 32-bit lanes: two SSE registers, one AVX register.
constexpr int kBlock = 8;
// Byte-sized inputs fill a 16-lane vector.
constexpr int kByteBlock = 16;
}  // namespace

void FillRow(uint32_t* dst, int n, uint32_t pixel) { std::fill(dst, dst + (n > 0 ? n : 0), pixel); }

void BlendSolidRow(uint32_t* __restrict dst, int n, uint32_t color, uint32_t alpha) {
  const uint32_t na = 255 - alpha;
  const uint32_t crb = (color & 0x00FF00FFu) * alpha;
  const uint32_t cag = ((color >> 8) & 0x00FF00FFu) * alpha;
  auto one = [&](uint32_t d) {
    return Div255Pair(crb + (d & 0x00FF00FFu) * na) | (Div255Pair(cag + ((d >> 8) & 0x00FF00FFu) * na) << 8);
  };
  int i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    uint32_t* d = dst + i;
    for (int k = 0; k < kBlock; ++k) d[k] = one(d[k]);
  }
  for (; i < n; ++i) dst[i] = one(dst[i]);
}

void BlendRowConstant(uint32_t* __restrict dst, const uint32_t* __restrict src, int n, uint32_t alpha) {
  int i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    uint32_t* d = dst + i;
    const uint32_t* s = src + i;
    for (int k = 0; k < kBlock; ++k) d[k] = Mix(s[k], d[k], alpha);
  }
  for (; i < n; ++i) dst[i] = Mix(src[i], dst[i], alpha);
}

void BlendRowPerPixel(uint32_t* __restrict dst, const uint32_t* __restrict src, int n, uint32_t constant) {
  int i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    uint32_t* d = dst + i;
    const uint32_t* s = src + i;
    for (int k = 0; k < kBlock; ++k) d[k] = Over(s[k], d[k], constant);
  }
  for (; i < n; ++i) dst[i] = Over(src[i], dst[i], constant);
}

void ColorKeyRow(uint32_t* __restrict dst, const uint32_t* __restrict src, int n, uint32_t key_rgb) {
  int i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    uint32_t* d = dst + i;
    const uint32_t* s = src + i;
    for (int k = 0; k < kBlock; ++k) d[k] = ((s[k] & 0x00FFFFFFu) == key_rgb) ? d[k] : s[k];
  }
  for (; i < n; ++i) dst[i] = ((src[i] & 0x00FFFFFFu) == key_rgb) ? dst[i] : src[i];
}

void CoverageRow(uint32_t* __restrict dst, const uint8_t* __restrict coverage, int n, uint32_t color) {
  const uint32_t opaque = color | 0xFF000000u;
  int i = 0;
  for (; i + kByteBlock <= n; i += kByteBlock) {
    uint32_t* d = dst + i;
    const uint8_t* c = coverage + i;
    for (int k = 0; k < kByteBlock; ++k) d[k] = Mix(opaque, d[k], c[k]);
  }
  for (; i < n; ++i) dst[i] = Mix(opaque, dst[i], coverage[i]);
}

}  // namespace brantel::pixel_ops
