#pragma once
// Picture decoding: PNG (libpng) and GIF (giflib) bytes into Surfaces of
// straight-alpha 0xAARRGGBB pixels. The stand-in for the device's imaging
// component.
//
// Broken, truncated or hostile data decodes to nothing (std::nullopt), never
// crashes, and never asks for more memory than the limits below allow.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/surface.h"

namespace brantel {

// Largest picture accepted: each side and the total pixel count (of all
// frames together, for GIF, both at the screen's size and at the size each
// frame claims).
constexpr int kMaxPictureSide = 8192;
constexpr size_t kMaxPicturePixels = size_t(16) << 20;

enum class PictureFormat { kUnknown, kPng, kGif };

// Recognises the format from the signature bytes.
PictureFormat SniffPictureFormat(std::span<const uint8_t> bytes);

std::optional<Surface> DecodePng(std::span<const uint8_t> bytes);
// The first frame of a GIF, at the logical screen size.
std::optional<Surface> DecodeGif(std::span<const uint8_t> bytes);

// Every frame of a GIF, each composed over the previous ones as an animation
// shows it (disposal methods honoured), at the logical screen size.
struct GifAnimation {
  std::vector<Surface> frames;
  std::vector<int> delays_ms;  // one per frame; 0 when the file names none
  int loop_count = 0;          // 0: forever (or not given)
};
std::optional<GifAnimation> DecodeGifFrames(std::span<const uint8_t> bytes);

// PNG or GIF (first frame), chosen by the signature.
std::optional<Surface> DecodePicture(std::span<const uint8_t> bytes);
inline std::optional<Surface> DecodePicture(const std::string& bytes) {
  return DecodePicture(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}
// Reads and decodes a picture file (at most 64 MiB).
std::optional<Surface> LoadPictureFile(const std::string& path);

}  // namespace brantel
