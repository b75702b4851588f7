// PNG decoding through libpng from memory, with size limits checked before
// any pixel memory is taken.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "platform/gfx/picture.h"

namespace brantel {
namespace {

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->offset) png_error(png, "truncated");
  std::memcpy(out, reader->data + reader->offset, length);
  reader->offset += length;
}

void IgnoreWarning(png_structp, png_const_charp) {}
void FailOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Everything libpng may jump over lives here, outside the setjmp frame.
struct DecodeState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  MemoryReader reader{};
  Surface surface;
  std::vector<png_bytep> rows;
  ~DecodeState() { png_destroy_read_struct(&png, &info, nullptr); }
};

bool Decode(DecodeState& s) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_read_fn(s.png, &s.reader, ReadFromMemory);
  png_set_user_limits(s.png, kMaxPictureSide, kMaxPictureSide);
  // Bounds ancillary chunks (text, profiles) and their decompressed size.
  png_set_chunk_cache_max(s.png, 1000);
  png_set_chunk_malloc_max(s.png, size_t(8) << 20);
  png_read_info(s.png, s.info);
  const png_uint_32 width = png_get_image_width(s.png, s.info);
  const png_uint_32 height = png_get_image_height(s.png, s.info);
  if (width == 0 || height == 0 || size_t(width) * size_t(height) > kMaxPicturePixels) return false;
  const int color_type = png_get_color_type(s.png, s.info);
  // Every format becomes 8-bit B, G, R, A in memory: 0xAARRGGBB words.
  png_set_expand(s.png);
  png_set_strip_16(s.png);
  if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(s.png);
  png_set_bgr(s.png);
  png_set_add_alpha(s.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  if (png_get_rowbytes(s.png, s.info) != size_t(width) * 4) return false;
  s.surface.Resize(int(width), int(height), 0);
  s.rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) s.rows[y] = reinterpret_cast<png_bytep>(s.surface.row(int(y)));
  png_read_image(s.png, s.rows.data());
  png_read_end(s.png, nullptr);
  return true;
}

}  // namespace

std::optional<Surface> DecodePng(std::span<const uint8_t> bytes) {
  if (SniffPictureFormat(bytes) != PictureFormat::kPng) return std::nullopt;
  DecodeState s;
  s.reader = {bytes.data(), bytes.size(), 0};
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailOnError, IgnoreWarning);
  if (!s.png) return std::nullopt;
  s.info = png_create_info_struct(s.png);
  if (!s.info || !Decode(s)) return std::nullopt;
  return std::move(s.surface);
}

}  // namespace brantel
