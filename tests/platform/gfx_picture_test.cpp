// PNG and GIF decoding of real files in their variants, hostile and
// truncated data, and PNG writing.
#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/gfx/picture.h"
#include "platform/gfx/png_writer.h"
#include "tests/platform/gfx_picture_bytes.h"

namespace brantel {
namespace {

using test::GifFrame;
using test::MakeGif;
using test::MakePng;
using test::PngRecipe;

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

Surface Gradient(int w, int h, bool translucent) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.set(x, y, (translucent ? uint32_t(x * 37 + y) << 24 : 0xFF000000u) | uint32_t(x * 20) << 16 |
                      uint32_t(y * 30) << 8 | uint32_t((x + y) * 9));
  return s;
}

void ExpectSame(const Surface& a, const Surface& b) {
  ASSERT_EQ(a.width(), b.width());
  ASSERT_EQ(a.height(), b.height());
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
}

TEST(GfxPng, WriterRoundTripsOpaqueAndTranslucentPictures) {
  for (bool translucent : {false, true}) {
    const Surface original = Gradient(7, 5, translucent);
    std::string bytes;
    ASSERT_TRUE(EncodePng(original, bytes));
    // Colour type in IHDR: 2 (RGB) when opaque, 6 (RGBA) otherwise.
    EXPECT_EQ(uint8_t(bytes[25]), translucent ? 6 : 2);
    auto decoded = DecodePng(Bytes(bytes));
    ASSERT_TRUE(decoded);
    ExpectSame(original, *decoded);
  }
  std::string bytes = "stale";
  EXPECT_FALSE(EncodePng(Surface(), bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST(GfxPng, WritesFilesAtomically) {
  const std::string dir = ::testing::TempDir() + "gfx_png_file";
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/shot.png";
  const Surface original = Gradient(9, 4, false);
  ASSERT_TRUE(WritePngFile(original, path));
  auto loaded = LoadPictureFile(path);
  ASSERT_TRUE(loaded);
  ExpectSame(original, *loaded);
  EXPECT_FALSE(WritePngFile(original, dir + "/no/such/folder/shot.png"));
  EXPECT_FALSE(LoadPictureFile(dir + "/missing.png"));
  std::filesystem::remove_all(dir);
}

TEST(GfxPng, PaletteWithTransparencyGrayAndSixteenBitFiles) {
  PngRecipe palette;
  palette.width = 3;
  palette.color_type = PNG_COLOR_TYPE_PALETTE;
  palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  palette.palette_alpha = {255, 128, 0};
  palette.rows = {{0, 1, 2}};
  auto p = DecodePng(Bytes(MakePng(palette)));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(p->at(1, 0), 0x8000FF00u);
  EXPECT_EQ(p->at(2, 0), 0x000000FFu);

  PngRecipe gray;
  gray.width = 2;
  gray.color_type = PNG_COLOR_TYPE_GRAY;
  gray.bit_depth = 16;
  gray.rows = {{0x12, 0x34, 0xFF, 0xFF}};
  auto g = DecodePng(Bytes(MakePng(gray)));
  ASSERT_TRUE(g);
  EXPECT_EQ(g->at(0, 0), 0xFF121212u);
  EXPECT_EQ(g->at(1, 0), 0xFFFFFFFFu);

  PngRecipe gray_alpha;
  gray_alpha.width = 1;
  gray_alpha.color_type = PNG_COLOR_TYPE_GRAY_ALPHA;
  gray_alpha.rows = {{0x40, 0x80}};
  auto ga = DecodePng(Bytes(MakePng(gray_alpha)));
  ASSERT_TRUE(ga);
  EXPECT_EQ(ga->at(0, 0), 0x80404040u);

  PngRecipe one_bit;
  one_bit.width = 9;
  one_bit.color_type = PNG_COLOR_TYPE_GRAY;
  one_bit.bit_depth = 1;
  one_bit.rows = {{0xA0, 0x80}};  // 1 0 1 0 0 0 0 0 | 1
  auto ob = DecodePng(Bytes(MakePng(one_bit)));
  ASSERT_TRUE(ob);
  EXPECT_EQ(ob->at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(ob->at(1, 0), 0xFF000000u);
  EXPECT_EQ(ob->at(8, 0), 0xFFFFFFFFu);
}

TEST(GfxPng, InterlacedFileDecodesLikePlainOne) {
  PngRecipe recipe;
  recipe.width = 11;
  recipe.height = 9;
  recipe.color_type = PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < recipe.height; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < recipe.width; ++x) row.insert(row.end(), {uint8_t(x * 20), uint8_t(y * 25), uint8_t(x ^ y)});
    recipe.rows.push_back(row);
  }
  auto plain = DecodePng(Bytes(MakePng(recipe)));
  recipe.interlace = true;
  auto interlaced = DecodePng(Bytes(MakePng(recipe)));
  ASSERT_TRUE(plain && interlaced);
  EXPECT_EQ(plain->at(3, 4), 0xFF3C6407u);
  ExpectSame(*plain, *interlaced);
}

TEST(GfxPng, TruncatedOrDamagedDataDecodesToNothing) {
  std::string good;
  ASSERT_TRUE(EncodePng(Gradient(6, 6, true), good));
  for (size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(DecodePng(Bytes(good.substr(0, n)))) << n;
  // A flipped byte inside the pixel data fails its checksum.
  std::string damaged = good;
  damaged[damaged.size() - 20] ^= 0x5A;
  EXPECT_FALSE(DecodePng(Bytes(damaged)));
  EXPECT_FALSE(DecodePng(Bytes("GIF89a not a png")));
}

// A PNG whose header claims `w` x `h` (with a valid checksum) and no pixels.
std::string PngHeaderOnly(uint32_t w, uint32_t h) {
  std::string ihdr = "IHDR";
  for (uint32_t v : {w, h}) ihdr += {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  ihdr += {8, 6, 0, 0, 0};
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(ihdr.data()), uInt(ihdr.size()));
  std::string out = "\x89PNG\r\n\x1a\n";
  out += {0, 0, 0, 13};
  out += ihdr;
  out += {char(crc >> 24), char(crc >> 16), char(crc >> 8), char(crc)};
  return out;
}

TEST(GfxPng, HugeClaimedSizesAreRefusedBeforeAllocating) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(DecodePng(Bytes(PngHeaderOnly(100000, 100000))));
  EXPECT_FALSE(DecodePng(Bytes(PngHeaderOnly(8192, 2049))));  // each side fine, too many pixels
  EXPECT_FALSE(DecodePng(Bytes(PngHeaderOnly(0x7FFFFFFF, 1))));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // no pixel memory was taken
}

const std::vector<uint32_t> kColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

TEST(GfxGif, FirstFrameWithTransparency) {
  GifFrame f;
  f.width = 4;
  f.height = 2;
  f.transparent = 0;
  f.indices = {0, 1, 2, 3, 3, 2, 1, 0};
  auto s = DecodeGif(Bytes(MakeGif(4, 2, kColours, {f})));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->at(0, 0), 0x00000000u);
  EXPECT_EQ(s->at(1, 0), 0xFFFF0000u);
  EXPECT_EQ(s->at(2, 0), 0xFF00FF00u);
  EXPECT_EQ(s->at(0, 1), 0xFF0000FFu);
  EXPECT_EQ(s->at(3, 1), 0x00000000u);
}

TEST(GfxGif, InterlacedFrameAndFrameSmallerThanScreen) {
  GifFrame f;
  f.width = 3;
  f.height = 10;
  f.interlace = true;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 3; ++x) f.indices.push_back(uint8_t((y + x) % 4));
  f.left = 1;
  f.top = 2;
  auto s = DecodeGif(Bytes(MakeGif(5, 14, kColours, {f})));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->width(), 5);
  EXPECT_EQ(s->height(), 14);
  EXPECT_EQ(s->at(0, 0), 0u);  // outside the frame: transparent
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint32_t rgb = kColours[size_t((y + x) % 4)];
      ASSERT_EQ(s->at(x + 1, y + 2), 0xFF000000u | rgb) << x << "," << y;
    }
}

TEST(GfxGif, AllFramesComposeWithDisposalDelaysAndLoops) {
  // 1: fill red. 2: a green pixel at (1,0), restored to previous afterwards.
  // 3: a blue pixel at (0,1), cleared to transparent afterwards. 4: nothing new.
  GifFrame red{0, 0, 2, 2, false, -1, 1, 10, {1, 1, 1, 1}};
  GifFrame green{1, 0, 1, 1, false, -1, 3, 20, {2}};
  GifFrame blue{0, 1, 1, 1, false, -1, 2, 0, {3}};
  GifFrame none{0, 0, 1, 1, false, 0, 0, 5, {0}};
  const std::string bytes = MakeGif(2, 2, kColours, {red, green, blue, none}, 3);
  auto anim = DecodeGifFrames(Bytes(bytes));
  ASSERT_TRUE(anim);
  ASSERT_EQ(anim->frames.size(), 4u);
  EXPECT_EQ(anim->delays_ms, (std::vector<int>{100, 200, 0, 50}));
  EXPECT_EQ(anim->loop_count, 3);
  EXPECT_EQ(anim->frames[1].at(1, 0), 0xFF00FF00u);
  EXPECT_EQ(anim->frames[2].at(1, 0), 0xFFFF0000u);  // green was restored away
  EXPECT_EQ(anim->frames[2].at(0, 1), 0xFF0000FFu);
  EXPECT_EQ(anim->frames[3].at(0, 1), 0x00000000u);  // blue was cleared
  EXPECT_EQ(anim->frames[3].at(1, 1), 0xFFFF0000u);
  // The first-frame decoder stops after frame one.
  auto first = DecodePicture(bytes);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->at(1, 0), 0xFFFF0000u);
}

TEST(GfxGif, IndexPastTheColourTableDrawsBlack) {
  GifFrame f{0, 0, 2, 1, false, -1, 0, 0, {1, 7}};
  auto s = DecodeGif(Bytes(MakeGif(2, 1, {0x000000, 0xFFFFFF}, {f})));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(s->at(1, 0), 0xFF000000u);
}

// Frames are read whole even where they lie outside the screen, so the
// pixels they claim count against the limit as well: a small file must not
// cost the work of a huge picture.
TEST(GfxGif, FramesClaimingTooManyPixelsAreNotDecoded) {
  const GifFrame huge{0, 0, 4100, 4100, false, -1, 0, 0, std::vector<uint8_t>(size_t(4100) * 4100, 1)};
  EXPECT_FALSE(DecodeGif(Bytes(MakeGif(8, 8, kColours, {huge}))));
  // Two frames of 8.4 million pixels each: the second goes beyond the limit.
  const GifFrame large{0, 0, 2900, 2900, false, -1, 0, 0, std::vector<uint8_t>(size_t(2900) * 2900, 2)};
  const auto animation = DecodeGifFrames(Bytes(MakeGif(8, 8, kColours, {large, large})));
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->frames.size(), 1u);
  EXPECT_EQ(animation->frames[0].at(7, 7), 0xFF00FF00u);
}

TEST(GfxGif, TruncatedAndHostileDataDecodesToNothing) {
  GifFrame f{0, 0, 8, 8, false, -1, 0, 0, std::vector<uint8_t>(64, 2)};
  const std::string good = MakeGif(8, 8, kColours, {f});
  ASSERT_TRUE(DecodeGif(Bytes(good)));
  // Until the first frame's pixels are complete nothing comes out; after
  // that only the trailer is missing, which still shows the frame.
  size_t first_good = good.size();
  for (size_t n = 0; n < good.size(); ++n) {
    if (DecodeGif(Bytes(good.substr(0, n)))) first_good = std::min(first_good, n);
    else EXPECT_LT(n, first_good) << "a longer prefix failed after a shorter one decoded";
  }
  EXPECT_GT(first_good, good.size() - 4);
  // A frame that claims 65535 x 65535 pixels in a tiny file.
  std::string huge = good;
  const size_t desc = huge.find(',');  // image separator
  ASSERT_NE(desc, std::string::npos);
  huge[desc + 5] = huge[desc + 6] = huge[desc + 7] = huge[desc + 8] = char(0xFF);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(DecodeGif(Bytes(huge)));
  EXPECT_FALSE(DecodeGifFrames(Bytes(huge)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // no pixel memory was taken
  // A logical screen larger than allowed.
  std::string wide = good;
  wide[6] = wide[7] = char(0xFF);
  wide[8] = wide[9] = char(0xFF);
  EXPECT_FALSE(DecodeGif(Bytes(wide)));
  EXPECT_FALSE(DecodePicture(std::string("GIF89a")));
  EXPECT_FALSE(DecodePicture(std::string("BM not a picture at all")));
  EXPECT_EQ(SniffPictureFormat(Bytes(std::string("GIF87a..."))), PictureFormat::kGif);
}

}  // namespace
}  // namespace brantel
