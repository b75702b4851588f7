#pragma once
// Row kernels for blending 0xAARRGGBB pixels. They are written so that GCC
// vectorises them even at -O2 (whose cheap cost model only vectorises loops
// with no scalar remainder): the work goes in fixed blocks of kBlock pixels
// and a short scalar tail.
//
// Every blend rounds exactly: channel = round((s * a + d * (255 - a)) / 255).

#include <cstdint>

namespace brantel::pixel_ops {

// round(t / 255) for each of the two 16-bit lanes of `t` (t per lane <= 65025).
inline uint32_t Div255Pair(uint32_t t) {
  t += 0x00800080u;
  return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Mixes two pixels, all four channels, with weight `a` (0..255) on `s`.
inline uint32_t Mix(uint32_t s, uint32_t d, uint32_t a) {
  const uint32_t na = 255 - a;
  const uint32_t rb = Div255Pair((s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * na);
  const uint32_t ag = Div255Pair(((s >> 8) & 0x00FF00FFu) * a + ((d >> 8) & 0x00FF00FFu) * na);
  return rb | (ag << 8);
}

// Source over destination with straight source alpha scaled by `constant`.
// Colour channels mix with the effective alpha; the result's alpha is
// a + d_alpha * (255 - a) / 255.
inline uint32_t Over(uint32_t s, uint32_t d, uint32_t constant) {
  const uint32_t a = Div255Pair((s >> 24) * constant);
  const uint32_t mixed = Mix(s, d, a);
  const uint32_t out_a = a + Div255Pair((d >> 24) * (255 - a));
  return (mixed & 0x00FFFFFFu) | (out_a << 24);
}

void FillRow(uint32_t* dst, int n, uint32_t pixel);
// dst = mix(color, dst, alpha) for all four channels.
void BlendSolidRow(uint32_t* dst, int n, uint32_t color, uint32_t alpha);
// Constant-alpha blend of a source row over a destination row.
void BlendRowConstant(uint32_t* dst, const uint32_t* src, int n, uint32_t alpha);
// Per-pixel (straight) alpha times a constant alpha.
void BlendRowPerPixel(uint32_t* dst, const uint32_t* src, int n, uint32_t constant);
// Copies source pixels whose RGB differs from key_rgb (0x00RRGGBB).
void ColorKeyRow(uint32_t* dst, const uint32_t* src, int n, uint32_t key_rgb);
// Text: blends an opaque `color` over dst by 8-bit coverage.
void CoverageRow(uint32_t* dst, const uint8_t* coverage, int n, uint32_t color);

}  // namespace brantel::pixel_ops
