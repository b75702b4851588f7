// Picture drawing: pictures decoded from PNG blend over what is already
// drawn with their own alpha, opaque pictures come out exactly, and parts,
// tiles, stretches and colour keys keep to the picture's own area.

#include "controls/image_drawing.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/png_writer.h"

namespace brantel {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
// Half-transparent red over blue: round(255 * 128 / 255) red and
// round(255 * 127 / 255) blue.
constexpr COLORREF kRedHalfOverBlue = RGB(128, 0, 127);

// `picture` through a real PNG file and back, as resource pictures arrive.
Surface ThroughPng(const Surface& picture) {
  std::string bytes;
  EXPECT_TRUE(EncodePng(picture, bytes));
  return DecodeImage({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

Surface BlueBackground(int width = 20, int height = 20) { return Surface(width, height, ColorRefToPixel(kBlue)); }

COLORREF At(const Surface& s, int x, int y) { return PixelToColorRef(s.at(x, y)); }

TEST(ImageDrawing, HalfTransparentPictureBlendsOverTheBackground) {
  // Columns: half-transparent red, fully transparent (green underneath),
  // opaque green.
  Surface picture(3, 2);
  for (int y = 0; y < 2; ++y) {
    picture.set(0, y, ColorRefToPixel(kRed, 128));
    picture.set(1, y, ColorRefToPixel(kGreen, 0));
    picture.set(2, y, ColorRefToPixel(kGreen));
  }
  const Surface decoded = ThroughPng(picture);
  ASSERT_EQ(decoded.width(), 3);
  EXPECT_TRUE(HasAlpha(decoded));

  Surface target = BlueBackground();
  DeviceContext dc(target);
  EXPECT_EQ(DrawImage(dc, 5, 6, decoded), 2);
  for (int y = 6; y < 8; ++y) {
    EXPECT_EQ(At(target, 5, y), kRedHalfOverBlue);
    EXPECT_EQ(At(target, 6, y), kBlue);
    EXPECT_EQ(At(target, 7, y), kGreen);
  }
  EXPECT_EQ(At(target, 8, 6), kBlue);
  EXPECT_EQ(At(target, 5, 8), kBlue);
  // The screen stays opaque wherever the picture was drawn.
  for (int x = 5; x < 8; ++x) EXPECT_EQ(target.at(x, 6) >> 24, 0xFFu);
}

TEST(ImageDrawing, OpaquePictureComesOutExactlyAsItIs) {
  Surface picture(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) picture.set(x, y, ColorRefToPixel(RGB(uint8_t(x * 60), uint8_t(y * 90), 7)));
  const Surface decoded = ThroughPng(picture);
  EXPECT_FALSE(HasAlpha(decoded));
  Surface target = BlueBackground();
  DeviceContext dc(target);
  DrawImage(dc, 2, 3, decoded);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(target.at(2 + x, 3 + y), picture.at(x, y)) << x << "," << y;
}

TEST(ImageDrawing, PartsAndTilesDrawOnlyThePictureOneToOne) {
  // Left column half-transparent red, right column opaque green.
  Surface picture(2, 2);
  for (int y = 0; y < 2; ++y) {
    picture.set(0, y, ColorRefToPixel(kRed, 128));
    picture.set(1, y, ColorRefToPixel(kGreen));
  }
  Surface target = BlueBackground();
  DeviceContext dc(target);

  // A part that hangs over the picture's right and bottom edges draws the
  // one existing column at its place, unstretched.
  EXPECT_EQ(DrawImagePart(dc, 0, 0, 5, 5, picture, 1, 0), 5);
  EXPECT_EQ(At(target, 0, 0), kGreen);
  EXPECT_EQ(At(target, 0, 1), kGreen);
  EXPECT_EQ(At(target, 1, 0), kBlue);
  EXPECT_EQ(At(target, 0, 2), kBlue);
  // A part starting before the picture lands where the picture would be.
  DrawImagePart(dc, 10, 10, 3, 2, picture, -1, 0);
  EXPECT_EQ(At(target, 10, 10), kBlue);
  EXPECT_EQ(At(target, 11, 10), kRedHalfOverBlue);
  EXPECT_EQ(At(target, 12, 10), kGreen);
  // A given size larger than the picture draws the picture once.
  DrawImage(dc, 4, 4, 6, 6, picture);
  EXPECT_EQ(At(target, 4, 4), kRedHalfOverBlue);
  EXPECT_EQ(At(target, 5, 5), kGreen);
  EXPECT_EQ(At(target, 6, 4), kBlue);

  // Tiles across 5 pixels: red, green, red, green, red (the last copy cut),
  // every red blended, nothing past the width.
  Surface row = BlueBackground(8, 2);
  DeviceContext row_dc(row);
  EXPECT_EQ(TileImage(row_dc, 1, 0, 5, picture), 5);
  const COLORREF expected[] = {kBlue, kRedHalfOverBlue, kGreen, kRedHalfOverBlue, kGreen, kRedHalfOverBlue, kBlue, kBlue};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(row, x, 1), expected[x]) << x;
}

TEST(ImageDrawing, StretchedAndKeyedPicturesUseTheirAlpha) {
  Surface half(2, 2, ColorRefToPixel(kRed, 128));
  Surface target = BlueBackground();
  DeviceContext dc(target);
  EXPECT_EQ(StretchImage(dc, Rect{0, 0, 6, 4}, half), 4);
  EXPECT_EQ(At(target, 0, 0), kRedHalfOverBlue);
  EXPECT_EQ(At(target, 5, 3), kRedHalfOverBlue);
  EXPECT_EQ(At(target, 6, 3), kBlue);

  // An opaque picture leaves out its key colour ...
  constexpr COLORREF kKey = RGB(255, 0, 255);
  Surface keyed(2, 1, ColorRefToPixel(kKey));
  keyed.set(1, 0, ColorRefToPixel(kGreen));
  DrawImageTransparent(dc, Rect{10, 10, 12, 11}, keyed, kKey);
  EXPECT_EQ(At(target, 10, 10), kBlue);
  EXPECT_EQ(At(target, 11, 10), kGreen);
  // ... a picture with alpha is drawn with it, its key colour included.
  keyed.set(0, 0, ColorRefToPixel(kKey, 0));
  keyed.set(1, 0, ColorRefToPixel(kRed, 128));
  DrawImageTransparent(dc, Rect{10, 12, 12, 13}, keyed, kGreen);
  EXPECT_EQ(At(target, 10, 12), kBlue);
  EXPECT_EQ(At(target, 11, 12), kRedHalfOverBlue);

  // Empty pictures draw nothing and report nothing drawn.
  const Surface before = target;
  EXPECT_EQ(StretchImage(dc, Rect{0, 0, 5, 5}, Surface()), 0);
  EXPECT_EQ(TileImage(dc, 0, 0, 5, Surface()), 0);
  EXPECT_EQ(DrawImageTransparent(dc, Rect{0, 0, 5, 5}, Surface(), kKey), 0);
  EXPECT_EQ(DrawImage(dc, 0, 0, Surface()), 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(target.at(x, y), before.at(x, y));
}

}  // namespace
}  // namespace brantel
