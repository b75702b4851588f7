// GIF decoding through giflib's record-by-record reader, so that every size
// is checked before pixel memory is taken (the all-at-once reader trusts the
// sizes a file claims). Frames are composed as an animation shows them.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gfx/picture.h"

namespace brantel {
namespace {

constexpr int kMaxFrames = 4096;

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t offset;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const size_t n = std::min(size_t(length > 0 ? length : 0), reader->size - reader->offset);
  std::memcpy(out, reader->data + reader->offset, n);
  reader->offset += n;
  return int(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The graphics control block that applies to the next image.
struct FrameControl {
  int transparent = -1;
  int disposal = 0;
  int delay_ms = 0;
};

void ReadGraphicsControl(const GifByteType* block, FrameControl& control) {
  // block[0] is the length (4): packed fields, delay (2 bytes), index.
  if (block[0] < 4) return;
  control.disposal = (block[1] >> 2) & 7;
  control.delay_ms = (block[2] | (block[3] << 8)) * 10;
  control.transparent = (block[1] & 1) ? block[4] : -1;
}

class GifReader {
 public:
  GifReader(std::span<const uint8_t> bytes, bool all_frames) : reader_{bytes.data(), bytes.size(), 0}, all_(all_frames) {}

  std::optional<GifAnimation> Read() {
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader_, ReadFromMemory, &error));
    if (!gif) return std::nullopt;
    const int width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        size_t(width) * size_t(height) > kMaxPicturePixels)
      return std::nullopt;
    canvas_.Resize(width, height, 0);
    FrameControl control;
    for (;;) {
      GifRecordType type = UNDEFINED_RECORD_TYPE;
      // A file that ends after complete frames (no trailer) still shows them.
      if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
      if (type == TERMINATE_RECORD_TYPE) break;
      if (type == EXTENSION_RECORD_TYPE) {
        if (!ReadExtension(gif.get(), control)) break;
        continue;
      }
      if (type != IMAGE_DESC_RECORD_TYPE) break;
      if (!ReadImage(gif.get(), control)) break;
      control = FrameControl{};
      if (!all_ || int(animation_.frames.size()) >= kMaxFrames) break;
      // The frames together stay within the pixel budget.
      if ((animation_.frames.size() + 1) * size_t(width) * size_t(height) > kMaxPicturePixels) break;
    }
    if (animation_.frames.empty()) return std::nullopt;
    return std::move(animation_);
  }

 private:
  bool ReadExtension(GifFileType* gif, FrameControl& control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    bool netscape = false;
    bool first = true;
    while (block) {
      if (code == GRAPHICS_EXT_FUNC_CODE && first) ReadGraphicsControl(block, control);
      if (code == APPLICATION_EXT_FUNC_CODE && first && block[0] >= 11)
        netscape = std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
      else if (netscape && !first && block[0] >= 3 && block[1] == 1)
        animation_.loop_count = block[2] | (block[3] << 8);
      first = false;
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
  }

  bool ReadImage(GifFileType* gif, const FrameControl& control) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || !map->Colors || desc.Width <= 0 || desc.Height <= 0 || desc.Width > kMaxPictureSide ||
        desc.Height > kMaxPictureSide)
      return false;
    // Every pixel a frame claims is decoded, also those outside the screen,
    // so the claimed pixels of all frames together stay within the budget.
    const size_t claimed = size_t(desc.Width) * size_t(desc.Height);
    if (claimed > kMaxPicturePixels - claimed_pixels_) return false;
    claimed_pixels_ += claimed;
    uint32_t palette[256];
    for (int i = 0; i < 256; ++i) {
      if (i < map->ColorCount) {
        const GifColorType& c = map->Colors[i];
        palette[i] = 0xFF000000u | (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
      } else {
        palette[i] = 0xFF000000u;  // an index past the colour table draws black
      }
    }
    // Rows are composed onto the canvas as they are read, so a frame needs
    // no memory beyond one row whatever size it claims.
    const Rect area = Rect::FromSize(desc.Left, desc.Top, desc.Width, desc.Height).Intersect(canvas_.bounds());
    Surface before;
    if (control.disposal == 3) before = canvas_;
    std::vector<GifPixelType> line(size_t(desc.Width));
    auto read_row = [&](int y) {
      if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return false;
      const int row = desc.Top + y;
      if (row < area.top || row >= area.bottom) return true;
      const GifPixelType* src = line.data() + (area.left - desc.Left);
      uint32_t* dst = canvas_.row(row) + area.left;
      for (int x = 0; x < area.Width(); ++x)
        if (src[x] != control.transparent) dst[x] = palette[src[x]];
      return true;
    };
    if (desc.Interlace) {
      static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < desc.Height; y += kStep[pass])
          if (!read_row(y)) return false;
    } else {
      for (int y = 0; y < desc.Height; ++y)
        if (!read_row(y)) return false;
    }
    animation_.frames.push_back(canvas_);
    animation_.delays_ms.push_back(control.delay_ms);
    if (control.disposal == 2) {
      for (int y = area.top; y < area.bottom; ++y) std::fill(canvas_.row(y) + area.left, canvas_.row(y) + area.right, 0u);
    } else if (control.disposal == 3) {
      canvas_ = std::move(before);
    }
    return true;
  }

  MemoryReader reader_;
  bool all_;
  size_t claimed_pixels_ = 0;
  Surface canvas_;
  GifAnimation animation_;
};

}  // namespace

std::optional<GifAnimation> DecodeGifFrames(std::span<const uint8_t> bytes) {
  if (SniffPictureFormat(bytes) != PictureFormat::kGif) return std::nullopt;
  return GifReader(bytes, true).Read();
}

std::optional<Surface> DecodeGif(std::span<const uint8_t> bytes) {
  if (SniffPictureFormat(bytes) != PictureFormat::kGif) return std::nullopt;
  auto animation = GifReader(bytes, false).Read();
  if (!animation) return std::nullopt;
  return std::move(animation->frames.front());
}

}  // namespace brantel
