#include "platform/gfx/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "platform/folders.h"

namespace brantel {
namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}
void FailOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

struct EncodeState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t> row;
  ~EncodeState() { png_destroy_write_struct(&png, &info); }
};

bool Encode(EncodeState& s, const Surface& surface, bool alpha, std::string& out) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_write_fn(s.png, &out, AppendToString, NoFlush);
  png_set_IHDR(s.png, s.info, png_uint_32(surface.width()), png_uint_32(surface.height()), 8,
               alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // Screenshots are written often; speed matters more than the last percent.
  png_set_compression_level(s.png, 3);
  png_write_info(s.png, s.info);
  const int channels = alpha ? 4 : 3;
  s.row.resize(size_t(surface.width()) * size_t(channels));
  for (int y = 0; y < surface.height(); ++y) {
    const uint32_t* src = surface.row(y);
    uint8_t* dst = s.row.data();
    for (int x = 0; x < surface.width(); ++x) {
      *dst++ = uint8_t(src[x] >> 16);
      *dst++ = uint8_t(src[x] >> 8);
      *dst++ = uint8_t(src[x]);
      if (alpha) *dst++ = uint8_t(src[x] >> 24);
    }
    png_write_row(s.png, s.row.data());
  }
  png_write_end(s.png, nullptr);
  return true;
}

}  // namespace

bool EncodePng(const Surface& surface, std::string& out) {
  out.clear();
  if (surface.empty()) return false;
  bool alpha = false;
  const uint32_t* p = surface.data();
  const size_t n = size_t(surface.width()) * size_t(surface.height());
  for (size_t i = 0; i < n && !alpha; ++i) alpha = (p[i] >> 24) != 0xFF;
  EncodeState s;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, FailOnError, IgnoreWarning);
  if (!s.png) return false;
  s.info = png_create_info_struct(s.png);
  if (!s.info || !Encode(s, surface, alpha, out)) {
    out.clear();
    return false;
  }
  return true;
}

bool WritePngFile(const Surface& surface, const std::string& path) {
  std::string bytes;
  return EncodePng(surface, bytes) && WriteFileAtomically(path, bytes);
}

}  // namespace brantel
