#pragma once
// Builds real PNG and GIF bytes with libpng's and giflib's own encoders, so
// the decoder tests see the formats' variants as other programs write them.

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <string>
#include <vector>

namespace brantel::test {

struct PngRecipe {
  int width = 1;
  int height = 1;
  int color_type = PNG_COLOR_TYPE_RGB_ALPHA;
  int bit_depth = 8;
  bool interlace = false;
  std::vector<png_color> palette;   // for PNG_COLOR_TYPE_PALETTE
  std::vector<uint8_t> palette_alpha;  // tRNS for a palette
  std::vector<std::vector<uint8_t>> rows;  // raw rows in the file's layout
};

inline void PngAppend(png_structp png, png_bytep data, png_size_t n) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}
inline void PngNoFlush(png_structp) {}

inline std::string MakePng(PngRecipe& recipe) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, PngAppend, PngNoFlush);
  png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bit_depth, recipe.color_type,
               recipe.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!recipe.palette.empty()) png_set_PLTE(png, info, recipe.palette.data(), int(recipe.palette.size()));
  if (!recipe.palette_alpha.empty())
    png_set_tRNS(png, info, recipe.palette_alpha.data(), int(recipe.palette_alpha.size()), nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (auto& r : recipe.rows) rows.push_back(r.data());
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

struct GifFrame {
  int left = 0, top = 0, width = 1, height = 1;
  bool interlace = false;
  int transparent = -1;
  int disposal = 0;
  int delay_cs = 0;
  std::vector<uint8_t> indices;  // width * height, row by row
};

inline int GifAppend(GifFileType* gif, const GifByteType* data, int n) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(n));
  return n;
}

// colours: 0xRRGGBB, a power of two count up to 256.
inline std::string MakeGif(int width, int height, const std::vector<uint32_t>& colours,
                           const std::vector<GifFrame>& frames, int loop_count = -1) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, GifAppend, &error);
  if (!gif) return {};
  EGifSetGifVersion(gif, true);
  std::vector<GifColorType> c;
  for (uint32_t rgb : colours) c.push_back({GifByteType(rgb >> 16), GifByteType(rgb >> 8), GifByteType(rgb)});
  ColorMapObject* map = GifMakeMapObject(int(c.size()), c.data());
  EGifPutScreenDesc(gif, width, height, 8, 0, map);
  if (loop_count >= 0) {
    const GifByteType loop[3] = {1, GifByteType(loop_count & 0xFF), GifByteType(loop_count >> 8)};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    EGifPutExtensionBlock(gif, 3, loop);
    EGifPutExtensionTrailer(gif);
  }
  for (const GifFrame& f : frames) {
    const GifByteType gce[4] = {GifByteType((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0)),
                                GifByteType(f.delay_cs & 0xFF), GifByteType(f.delay_cs >> 8),
                                GifByteType(f.transparent >= 0 ? f.transparent : 0)};
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, gce);
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, nullptr);
    std::vector<GifPixelType> line(size_t(f.width));
    // giflib writes lines in file order; an interlaced file stores the
    // passes one after the other.
    std::vector<int> order;
    if (f.interlace) {
      static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < f.height; y += kStep[pass]) order.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) order.push_back(y);
    }
    for (int y : order) {
      for (int x = 0; x < f.width; ++x) line[size_t(x)] = f.indices[size_t(y * f.width + x)];
      EGifPutLine(gif, line.data(), f.width);
    }
  }
  GifFreeMapObject(map);
  EGifCloseFile(gif, &error);
  return out;
}

}  // namespace brantel::test
