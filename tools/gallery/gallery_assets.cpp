#include "tools/gallery/gallery_assets.h"

#include <gif_lib.h>

#include <cmath>
#include <string>

#include "platform/gfx/picture.h"
#include "platform/gfx/png_writer.h"

namespace brantel::gallery {
namespace {

// A five-pointed star, 4 x 4 samples per pixel for soft edges.
Surface MakeStar(int size, uint32_t rgb) {
  double px[10], py[10];
  for (int i = 0; i < 10; ++i) {
    const double angle = -M_PI / 2 + i * M_PI / 5;
    const double radius = (i % 2 ? 0.2 : 0.48) * size;
    px[i] = size / 2.0 + radius * std::cos(angle);
    py[i] = size / 2.0 + radius * std::sin(angle);
  }
  auto inside = [&](double x, double y) {
    bool in = false;
    for (int i = 0, j = 9; i < 10; j = i++)
      if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i]) in = !in;
    return in;
  };
  Surface s(size, size, 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
      s.set(x, y, (uint32_t(hits * 255 / 16) << 24) | rgb);
    }
  return s;
}

int AppendBytes(GifFileType* gif, const GifByteType* data, int n) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(n));
  return n;
}

// Eight frames of a loading spinner: a dot runs round a ring of dim dots.
std::string MakeSpinnerGif() {
  constexpr int kSize = 30, kFrames = 8;
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendBytes, &error);
  if (!gif) return out;
  EGifSetGifVersion(gif, true);
  GifColorType colours[4] = {{0, 0, 0}, {0x44, 0x44, 0x44}, {0xFF, 0xC8, 0x34}, {0xFF, 0xFF, 0xFF}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifPutScreenDesc(gif, kSize, kSize, 8, 0, map);
  for (int f = 0; f < kFrames; ++f) {
    const GifByteType control[4] = {0x08 | 0x01, 10, 0, 0};  // restore to background, 100 ms, index 0 clear
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
    EGifPutImageDesc(gif, 0, 0, kSize, kSize, false, nullptr);
    GifPixelType line[kSize];
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        GifPixelType index = 0;
        for (int d = 0; d < kFrames; ++d) {
          const double a = d * 2 * M_PI / kFrames;
          const double cx = 15 + 10 * std::cos(a), cy = 15 + 10 * std::sin(a);
          if ((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy) <= 9)
            index = d == f ? 2 : (d == (f + kFrames - 1) % kFrames ? 3 : 1);
        }
        line[x] = index;
      }
      EGifPutLine(gif, line, kSize);
    }
  }
  GifFreeMapObject(map);
  EGifCloseFile(gif, &error);
  return out;
}

Assets Build() {
  Assets a;
  std::string png;
  if (EncodePng(MakeStar(40, 0xFFC834), png))
    if (auto star = DecodePicture(png)) a.star_png = std::move(*star);
  const std::string gif = MakeSpinnerGif();
  if (auto frames = DecodeGifFrames(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(gif.data()), gif.size())))
    a.gif_frames = std::move(frames->frames);
  a.checker.Resize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool ring = (x - 7.5) * (x - 7.5) + (y - 7.5) * (y - 7.5) > 56;
      a.checker.set(x, y, ring ? 0xFFFF00FFu : ((x / 4 + y / 4) % 2 ? 0xFF2FFF6Fu : 0xFF0C0C0Cu));
    }
  a.gradient.Resize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) a.gradient.set(x, y, 0xFF000000u | uint32_t(x * 36) << 16 | uint32_t(y * 36) << 8 | 0x80);
  return a;
}

}  // namespace

const Assets& GetAssets() {
  static const Assets assets = Build();
  return assets;
}

}  // namespace brantel::gallery
