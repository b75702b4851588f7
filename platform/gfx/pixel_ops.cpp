#include "platform/gfx/pixel_ops.h"

#include <algorithm>

namespace brantel::pixel_ops {
namespace {

// The kernels work on the bytes of the pixels (B, G, R, A in memory on a
// little-endian machine) in 16-bit arithmetic, which SSE2 multiplies eight
// lanes at a time; 32-bit lanes would need emulated multiplies.
constexpr int kPixelBlock = 8;  // pixels per block: 32 bytes
constexpr int kByteBlock = 4 * kPixelBlock;

inline uint8_t Div255(uint16_t t) {
  t = uint16_t(t + 128);
  return uint8_t((t + (t >> 8)) >> 8);
}

inline uint8_t MixByte(uint8_t s, uint8_t d, uint16_t a, uint16_t na) {
  return Div255(uint16_t(s * a + d * na));
}

// Straight-alpha "over" of one pixel's four bytes.
inline void OverPixel(uint8_t* d, const uint8_t* s, uint16_t constant) {
  const uint16_t a = Div255(uint16_t(s[3] * constant));
  const uint16_t na = uint16_t(255 - a);
  d[0] = MixByte(s[0], d[0], a, na);
  d[1] = MixByte(s[1], d[1], a, na);
  d[2] = MixByte(s[2], d[2], a, na);
  d[3] = uint8_t(a + Div255(uint16_t(d[3] * na)));
}

}  // namespace

void FillRow(uint32_t* dst, int n, uint32_t pixel) { std::fill(dst, dst + (n > 0 ? n : 0), pixel); }

void BlendSolidRow(uint32_t* __restrict dst, int n, uint32_t color, uint32_t alpha) {
  uint8_t* d = reinterpret_cast<uint8_t*>(dst);
  const uint16_t a = uint16_t(alpha), na = uint16_t(255 - alpha);
  // The colour's contribution per byte position, repeated over a block.
  uint16_t c[kByteBlock];
  for (int k = 0; k < kByteBlock; ++k) c[k] = uint16_t(((color >> (8 * (k & 3))) & 0xFF) * a);
  const int bytes = 4 * (n > 0 ? n : 0);
  int i = 0;
  for (; i + kByteBlock <= bytes; i += kByteBlock) {
    uint8_t* b = d + i;
    for (int k = 0; k < kByteBlock; ++k) b[k] = Div255(uint16_t(c[k] + b[k] * na));
  }
  for (; i < bytes; ++i) d[i] = Div255(uint16_t(c[i & 3] + d[i] * na));
}

void BlendRowConstant(uint32_t* __restrict dst, const uint32_t* __restrict src, int n, uint32_t alpha) {
  uint8_t* d = reinterpret_cast<uint8_t*>(dst);
  const uint8_t* s = reinterpret_cast<const uint8_t*>(src);
  const uint16_t a = uint16_t(alpha), na = uint16_t(255 - alpha);
  const int bytes = 4 * (n > 0 ? n : 0);
  int i = 0;
  for (; i + kByteBlock <= bytes; i += kByteBlock) {
    uint8_t* db = d + i;
    const uint8_t* sb = s + i;
    for (int k = 0; k < kByteBlock; ++k) db[k] = MixByte(sb[k], db[k], a, na);
  }
  for (; i < bytes; ++i) d[i] = MixByte(s[i], d[i], a, na);
}

void BlendRowPerPixel(uint32_t* __restrict dst, const uint32_t* __restrict src, int n, uint32_t constant) {
  uint8_t* d = reinterpret_cast<uint8_t*>(dst);
  const uint8_t* s = reinterpret_cast<const uint8_t*>(src);
  const uint16_t c = uint16_t(constant);
  int i = 0;
  for (; i + kPixelBlock <= n; i += kPixelBlock) {
    uint8_t* db = d + 4 * i;
    const uint8_t* sb = s + 4 * i;
    for (int k = 0; k < kPixelBlock; ++k) OverPixel(db + 4 * k, sb + 4 * k, c);
  }
  for (; i < n; ++i) OverPixel(d + 4 * i, s + 4 * i, c);
}

void ColorKeyRow(uint32_t* __restrict dst, const uint32_t* __restrict src, int n, uint32_t key_rgb) {
  int i = 0;
  for (; i + kPixelBlock <= n; i += kPixelBlock) {
    uint32_t* d = dst + i;
    const uint32_t* s = src + i;
    for (int k = 0; k < kPixelBlock; ++k) d[k] = ((s[k] & 0x00FFFFFFu) == key_rgb) ? d[k] : s[k];
  }
  for (; i < n; ++i) dst[i] = ((src[i] & 0x00FFFFFFu) == key_rgb) ? dst[i] : src[i];
}

void CoverageRow(uint32_t* __restrict dst, const uint8_t* __restrict coverage, int n, uint32_t color) {
  uint8_t* d = reinterpret_cast<uint8_t*>(dst);
  const uint8_t cb[4] = {uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16), 0xFF};
  auto one = [&](uint8_t* p, uint8_t cov) {
    const uint16_t a = cov, na = uint16_t(255 - cov);
    p[0] = MixByte(cb[0], p[0], a, na);
    p[1] = MixByte(cb[1], p[1], a, na);
    p[2] = MixByte(cb[2], p[2], a, na);
    p[3] = MixByte(cb[3], p[3], a, na);
  };
  int i = 0;
  for (; i + kPixelBlock <= n; i += kPixelBlock)
    for (int k = 0; k < kPixelBlock; ++k) one(d + 4 * (i + k), coverage[i + k]);
  for (; i < n; ++i) one(d + 4 * i, coverage[i]);
}

}  // namespace brantel::pixel_ops
