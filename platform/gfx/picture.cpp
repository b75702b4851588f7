#include "platform/gfx/picture.h"

#include <cstring>

#include "platform/folders.h"

namespace brantel {

PictureFormat SniffPictureFormat(std::span<const uint8_t> bytes) {
  static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= sizeof kPng && std::memcmp(bytes.data(), kPng, sizeof kPng) == 0) return PictureFormat::kPng;
  if (bytes.size() >= 6 && (std::memcmp(bytes.data(), "GIF87a", 6) == 0 || std::memcmp(bytes.data(), "GIF89a", 6) == 0))
    return PictureFormat::kGif;
  return PictureFormat::kUnknown;
}

std::optional<Surface> DecodePicture(std::span<const uint8_t> bytes) {
  switch (SniffPictureFormat(bytes)) {
    case PictureFormat::kPng:
      return DecodePng(bytes);
    case PictureFormat::kGif:
      return DecodeGif(bytes);
    case PictureFormat::kUnknown:
      break;
  }
  return std::nullopt;
}

std::optional<Surface> LoadPictureFile(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, size_t(64) << 20)) return std::nullopt;
  return DecodePicture(bytes);
}

}  // namespace brantel
