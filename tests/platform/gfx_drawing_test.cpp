// Exact pixels of fills, lines, copies, stretches, colour keys and blends.
#include <gtest/gtest.h>

#include "platform/gfx/device_context.h"
#include "platform/gfx/pixel_ops.h"

namespace brantel {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;

// A source with a distinct colour in every pixel: 0xFF00xxyy.
Surface Numbered(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.set(x, y, 0xFF000000u | uint32_t(x << 8) | uint32_t(y));
  return s;
}

int CountPixels(const Surface& s, uint32_t p) {
  int n = 0;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) n += s.at(x, y) == p;
  return n;
}

TEST(GfxColour, ColorRefIsBlueGreenRed) {
  EXPECT_EQ(ColorRefToPixel(0x0000FF), 0xFFFF0000u);  // red
  EXPECT_EQ(ColorRefToPixel(RGB(0x12, 0x34, 0x56)), 0xFF123456u);
  EXPECT_EQ(PixelToColorRef(0x80123456u), RGB(0x12, 0x34, 0x56));
}

TEST(GfxFill, FillsOnlyInsideRectangleOriginAndClip) {
  Surface s(20, 20);
  DeviceContext dc(s, Point{5, 5}, Rect{5, 5, 15, 12});
  dc.FillSolid(Rect{-10, -10, 100, 100}, RGB(255, 0, 0));
  EXPECT_EQ(CountPixels(s, 0xFFFF0000u), 10 * 7);
  EXPECT_EQ(s.at(5, 5), 0xFFFF0000u);
  EXPECT_EQ(s.at(14, 11), 0xFFFF0000u);
  EXPECT_EQ(s.at(15, 11), kBlack);
  EXPECT_EQ(s.at(14, 12), kBlack);

  // Logical (1, 1) is device (6, 6); a narrower clip cuts further.
  dc.SetClipRect(Rect{0, 0, 3, 3});
  EXPECT_EQ(dc.GetClipRect(), (Rect{0, 0, 3, 3}));
  dc.FillSolid(Rect{1, 1, 50, 50}, RGB(0, 0, 255));
  EXPECT_EQ(CountPixels(s, 0xFF0000FFu), 4);
  EXPECT_EQ(s.at(6, 6), 0xFF0000FFu);
  EXPECT_EQ(dc.GetPixel(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(dc.GetPixel(4, 4), CLR_INVALID);

  // The clip can not grow past the base clip.
  dc.SetClipRect(Rect{-100, -100, 100, 100});
  EXPECT_EQ(dc.GetClipRect(), (Rect{0, 0, 10, 7}));
  dc.ResetClip();
  dc.FillSolid(Rect{3, 3, 2, 2}, RGB(0, 255, 0));  // inverted: nothing
  EXPECT_EQ(CountPixels(s, 0xFF00FF00u), 0);
}

TEST(GfxFill, BlendSolidDimsWithExactRounding) {
  Surface s(4, 1, 0xFFFFFFFFu);
  DeviceContext dc(s);
  dc.BlendSolid(Rect{0, 0, 2, 1}, RGB(0, 0, 0), 210);
  // 255 * 45 / 255 = 45 exactly; alpha stays opaque.
  EXPECT_EQ(s.at(0, 0), 0xFF2D2D2Du);
  EXPECT_EQ(s.at(2, 0), 0xFFFFFFFFu);
  dc.BlendSolid(Rect{2, 0, 4, 1}, RGB(0, 0, 0), 191);
  EXPECT_EQ(s.at(3, 0), 0xFF404040u);  // 255 * 64 / 255
}

TEST(GfxLine, LineToExcludesEndPointAndMoves) {
  Surface s(10, 10);
  DeviceContext dc(s);
  dc.SelectPen(Pen{PS_SOLID, 1, RGB(255, 255, 255)});
  dc.MoveTo(1, 2);
  dc.LineTo(6, 2);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(s.at(x, 2), 0xFFFFFFFFu) << x;
  EXPECT_EQ(s.at(6, 2), kBlack);
  EXPECT_EQ(s.at(0, 2), kBlack);
  // From where the last line ended, downwards, then a diagonal.
  dc.LineTo(6, 5);
  EXPECT_EQ(s.at(6, 2), 0xFFFFFFFFu);
  EXPECT_EQ(s.at(6, 4), 0xFFFFFFFFu);
  EXPECT_EQ(s.at(6, 5), kBlack);
  dc.LineTo(9, 8);
  EXPECT_EQ(s.at(7, 6), 0xFFFFFFFFu);
  EXPECT_EQ(s.at(8, 7), 0xFFFFFFFFu);
  EXPECT_EQ(s.at(9, 8), kBlack);
  EXPECT_EQ(CountPixels(s, 0xFFFFFFFFu), 5 + 3 + 3);
}

TEST(GfxLine, WidePenNullPenDashAndClip) {
  Surface s(20, 20);
  DeviceContext dc(s);
  dc.SelectPen(Pen{PS_SOLID, 3, RGB(255, 0, 0)});
  dc.MoveTo(2, 10);
  dc.LineTo(12, 10);
  EXPECT_EQ(CountPixels(s, 0xFFFF0000u), 10 * 3);
  EXPECT_EQ(s.at(2, 9), 0xFFFF0000u);
  EXPECT_EQ(s.at(2, 11), 0xFFFF0000u);
  dc.SelectPen(Pen{PS_NULL, 1, RGB(0, 255, 0)});
  dc.LineTo(12, 0);
  EXPECT_EQ(CountPixels(s, 0xFF00FF00u), 0);
  EXPECT_EQ(dc.MoveTo(0, 0), (Point{12, 0}));
  // Dashes: 18 on, 6 off.
  Surface d(60, 1);
  DeviceContext dd(d);
  dd.SelectPen(Pen{PS_DASH, 1, RGB(255, 255, 255)});
  dd.MoveTo(0, 0);
  dd.LineTo(60, 0);
  EXPECT_EQ(d.at(17, 0), 0xFFFFFFFFu);
  EXPECT_EQ(d.at(18, 0), kBlack);
  EXPECT_EQ(d.at(24, 0), 0xFFFFFFFFu);
  // Lines far outside the surface are clipped, not written out of bounds.
  dc.SelectPen(Pen{PS_SOLID, 5, RGB(0, 0, 255)});
  dc.MoveTo(-100, -50);
  dc.LineTo(300, 200);
  dc.MoveTo(-5, 25);
  dc.LineTo(-5, -30);
  EXPECT_GT(CountPixels(s, 0xFF0000FFu), 0);
}

TEST(GfxBlit, BitBltCopiesAndClipsAtBothSurfaces) {
  const Surface src = Numbered(8, 8);
  Surface s(10, 10);
  DeviceContext dc(s, Point{1, 1}, s.bounds());
  dc.BitBlt(0, 0, 4, 3, src, 2, 5);
  EXPECT_EQ(s.at(1, 1), src.at(2, 5));
  EXPECT_EQ(s.at(4, 3), src.at(5, 7));
  EXPECT_EQ(s.at(5, 1), kBlack);
  // A source rectangle hanging over the source's edge copies only what exists.
  Surface t(10, 10);
  DeviceContext dt(t);
  dt.BitBlt(0, 0, 10, 10, src, 6, -2);
  EXPECT_EQ(t.at(0, 2), src.at(6, 0));
  EXPECT_EQ(t.at(1, 9), src.at(7, 7));
  EXPECT_EQ(t.at(2, 2), kBlack);
  EXPECT_EQ(t.at(0, 1), kBlack);
  // Alpha travels with a copy.
  Surface translucent(1, 1, 0x40112233u);
  dt.BitBlt(9, 9, 1, 1, translucent, 0, 0);
  EXPECT_EQ(t.at(9, 9), 0x40112233u);
}

TEST(GfxBlit, OverlappingCopyWithinOneSurface) {
  Surface s = Numbered(6, 6);
  const Surface before = s;
  DeviceContext dc(s);
  // Scroll down by two rows: reads must not see already written rows.
  dc.BitBlt(0, 2, 6, 4, s, 0, 0);
  for (int y = 2; y < 6; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(s.at(x, y), before.at(x, y - 2)) << x << "," << y;
  // And up again, and sideways.
  Surface u = Numbered(6, 6);
  DeviceContext du(u);
  du.BitBlt(1, 0, 5, 5, u, 0, 1);
  EXPECT_EQ(u.at(1, 0), before.at(0, 1));
  EXPECT_EQ(u.at(5, 4), before.at(4, 5));
}

TEST(GfxStretch, NearestDoublesAndHalves) {
  const Surface src = Numbered(4, 4);
  Surface s(8, 8);
  DeviceContext dc(s);
  dc.StretchBlt(0, 0, 8, 8, src, 0, 0, 4, 4);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(s.at(x, y), src.at(x / 2, y / 2)) << x << "," << y;
  Surface h(2, 2);
  DeviceContext dh(h);
  dh.StretchBlt(0, 0, 2, 2, src, 0, 0, 4, 4);
  // The pixel under each target centre: source 1 and 3.
  EXPECT_EQ(h.at(0, 0), src.at(1, 1));
  EXPECT_EQ(h.at(1, 1), src.at(3, 3));
  // Nothing happens for empty or negative sizes.
  dh.StretchBlt(0, 0, 0, 2, src, 0, 0, 4, 4);
  dh.StretchBlt(0, 0, 2, 2, src, 0, 0, -4, 4);
  EXPECT_EQ(h.at(0, 0), src.at(1, 1));
}

TEST(GfxStretch, SmoothModeFiltersBetweenPixels) {
  Surface src(2, 1);
  src.set(0, 0, 0xFF000000u);
  src.set(1, 0, 0xFFFFFFFFu);
  Surface s(4, 1);
  DeviceContext dc(s);
  EXPECT_EQ(dc.SetStretchBltMode(STRETCH_SMOOTH), COLORONCOLOR);
  dc.StretchBlt(0, 0, 4, 1, src, 0, 0, 2, 1);
  // Centres map to source 0.25, 0.75, 1.25, 1.75: edges hold, middle mixes.
  EXPECT_EQ(s.at(0, 0), 0xFF000000u);
  EXPECT_EQ(s.at(1, 0), 0xFF404040u);
  EXPECT_EQ(s.at(2, 0), 0xFFBFBFBFu);
  EXPECT_EQ(s.at(3, 0), 0xFFFFFFFFu);
  // A solid picture stays solid at any size.
  Surface solid(7, 5, 0xFF336699u);
  Surface big(31, 17);
  DeviceContext db(big);
  db.SetStretchBltMode(HALFTONE);
  db.StretchBlt(0, 0, 31, 17, solid, 0, 0, 7, 5);
  EXPECT_EQ(CountPixels(big, 0xFF336699u), 31 * 17);
}

TEST(GfxStretch, SmoothEdgeOfTransparentPictureKeepsItsColour) {
  // Red next to fully transparent black: the mix must not darken the red.
  Surface src(2, 1);
  src.set(0, 0, 0xFFFF0000u);
  src.set(1, 0, 0x00000000u);
  Surface s(4, 1, 0);
  DeviceContext dc(s);
  dc.SetStretchBltMode(HALFTONE);
  dc.StretchBlt(0, 0, 4, 1, src, 0, 0, 2, 1);
  EXPECT_EQ(s.at(1, 0) & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_EQ(s.at(1, 0) >> 24, 0xBFu);
}

TEST(GfxColorKey, KeyedPixelsLeaveTargetUntouched) {
  Surface src(3, 1);
  src.set(0, 0, 0xFFFF00FFu);  // magenta key
  src.set(1, 0, 0xFF123456u);
  src.set(2, 0, 0x00FF00FFu);  // key regardless of alpha
  Surface s(6, 2, 0xFF0A0B0Cu);
  DeviceContext dc(s);
  dc.TransparentBlt(0, 0, 3, 1, src, 0, 0, 3, 1, RGB(255, 0, 255));
  EXPECT_EQ(s.at(0, 0), 0xFF0A0B0Cu);
  EXPECT_EQ(s.at(1, 0), 0xFF123456u);
  EXPECT_EQ(s.at(2, 0), 0xFF0A0B0Cu);
  // Stretched by two with the nearest pixel.
  dc.TransparentBlt(0, 1, 6, 1, src, 0, 0, 3, 1, RGB(255, 0, 255));
  EXPECT_EQ(s.at(1, 1), 0xFF0A0B0Cu);
  EXPECT_EQ(s.at(2, 1), 0xFF123456u);
  EXPECT_EQ(s.at(3, 1), 0xFF123456u);
  EXPECT_EQ(s.at(4, 1), 0xFF0A0B0Cu);
}

TEST(GfxAlpha, ConstantAlphaBlend) {
  Surface src(20, 3, 0xFFFFFFFFu);  // wider than a vector block: both paths
  Surface s(20, 3, 0xFF000000u);
  DeviceContext dc(s);
  dc.AlphaBlend(0, 0, 20, 3, src, 0, 0, 20, 3, BlendFunction{128, 0});
  EXPECT_EQ(CountPixels(s, 0xFF808080u), 60);
  dc.AlphaBlend(0, 0, 20, 3, src, 0, 0, 20, 3, BlendFunction{0, 0});
  EXPECT_EQ(CountPixels(s, 0xFF808080u), 60);
  dc.AlphaBlend(0, 0, 20, 3, src, 0, 0, 20, 3, BlendFunction{255, 0});
  EXPECT_EQ(CountPixels(s, 0xFFFFFFFFu), 60);
}

TEST(GfxAlpha, PerPixelAlphaTimesConstant) {
  Surface src(3, 1);
  src.set(0, 0, 0x00FFFFFFu);  // transparent
  src.set(1, 0, 0x80FF0000u);  // half red
  src.set(2, 0, 0xFF00FF00u);  // opaque green
  Surface s(3, 2, 0xFF0000FFu);
  DeviceContext dc(s);
  dc.AlphaBlend(0, 0, 3, 1, src, 0, 0, 3, 1, BlendFunction{255, AC_SRC_ALPHA});
  EXPECT_EQ(s.at(0, 0), 0xFF0000FFu);
  EXPECT_EQ(s.at(1, 0), 0xFF80007Fu);
  EXPECT_EQ(s.at(2, 0), 0xFF00FF00u);
  // Constant 128 on top: opaque green counts as alpha 128.
  dc.AlphaBlend(0, 1, 3, 1, src, 0, 0, 3, 1, BlendFunction{128, AC_SRC_ALPHA});
  EXPECT_EQ(s.at(2, 1), 0xFF00807Fu);
  // Over a transparent target the result carries the source's coverage.
  Surface clear(1, 1, 0);
  DeviceContext dclear(clear);
  dclear.AlphaBlend(0, 0, 1, 1, src, 1, 0, 1, 1, BlendFunction{255, AC_SRC_ALPHA});
  EXPECT_EQ(clear.at(0, 0) >> 24, 0x80u);
}

TEST(GfxAlpha, BlendKernelsMatchTheFormulaForEveryAlpha) {
  // The vector blocks and the scalar tail must agree with the exact formula.
  std::vector<uint32_t> src(37), dst(37);
  for (uint32_t a = 0; a < 256; ++a) {
    for (size_t i = 0; i < src.size(); ++i) {
      src[i] = 0xFF000000u | uint32_t(i * 7) << 16 | uint32_t(255 - i) << 8 | a;
      dst[i] = 0xFF000000u | uint32_t(a) << 16 | uint32_t(i * 3) << 8 | uint32_t(200 - i);
    }
    std::vector<uint32_t> out = dst;
    pixel_ops::BlendRowConstant(out.data(), src.data(), int(out.size()), a);
    for (size_t i = 0; i < src.size(); ++i) {
      for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t sc = (src[i] >> shift) & 0xFF, dc = (dst[i] >> shift) & 0xFF;
        const uint32_t want = (sc * a + dc * (255 - a) + 127) / 255;
        ASSERT_EQ((out[i] >> shift) & 0xFF, want) << "alpha " << a << " pixel " << i << " shift " << shift;
      }
    }
  }
}

TEST(GfxAlpha, PerPixelAndCoverageKernelsMatchTheFormula) {
  auto div255 = [](uint32_t t) { return (t + 127) / 255; };
  std::vector<uint32_t> src(21), dst(21);
  std::vector<uint8_t> coverage(21);
  for (uint32_t constant : {255u, 200u, 128u, 1u, 0u}) {
    for (size_t i = 0; i < src.size(); ++i) {
      src[i] = uint32_t(i * 12) << 24 | uint32_t(i * 11) << 16 | uint32_t(250 - i) << 8 | uint32_t(i * 5);
      dst[i] = uint32_t(255 - i * 3) << 24 | uint32_t(i * 2) << 16 | uint32_t(i * 9) << 8 | uint32_t(100 + i);
      coverage[i] = uint8_t(i * 12 + constant);
    }
    std::vector<uint32_t> over = dst, text = dst;
    pixel_ops::BlendRowPerPixel(over.data(), src.data(), int(over.size()), constant);
    pixel_ops::CoverageRow(text.data(), coverage.data(), int(text.size()), 0x00123456u);
    for (size_t i = 0; i < src.size(); ++i) {
      const uint32_t a = div255((src[i] >> 24) * constant);
      for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t sc = (src[i] >> shift) & 0xFF, dc = (dst[i] >> shift) & 0xFF;
        ASSERT_EQ((over[i] >> shift) & 0xFF, div255(sc * a + dc * (255 - a))) << i << " " << constant;
        const uint32_t tc = (0x123456u >> shift) & 0xFF, cov = coverage[i];
        ASSERT_EQ((text[i] >> shift) & 0xFF, div255(tc * cov + dc * (255 - cov))) << i;
      }
      ASSERT_EQ(over[i] >> 24, a + div255((dst[i] >> 24) * (255 - a))) << i;
    }
  }
}

TEST(GfxPicture, DrawPictureStretchesWithAlpha) {
  Surface picture(2, 2, 0x00000000u);
  picture.set(0, 0, 0xFFFFFFFFu);
  Surface s(4, 4, 0xFF000080u);
  DeviceContext dc(s);
  dc.DrawPicture(picture, Rect{0, 0, 4, 4});
  EXPECT_EQ(s.at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(s.at(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(s.at(2, 2), 0xFF000080u);
  EXPECT_EQ(s.at(3, 0), 0xFF000080u);
  dc.DrawPicture(Surface(), Rect{0, 0, 4, 4});  // empty: nothing
}

}  // namespace
}  // namespace brantel
