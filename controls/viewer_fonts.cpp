#include "controls/viewer_fonts.h"

#include <array>
#include <mutex>

namespace brantel {

namespace {

constexpr std::array<int, 8> kCachedHeights = {18, 20, 22, 24, 25, 28, 30, 32};

}  // namespace

const Font& ViewerFont(int height) {
  static const Font kNoFont;
  // One slot per height, each filled once; the slots never move, so the
  // references handed out stay valid for the life of the process.
  static std::array<Font, kCachedHeights.size()> fonts;
  static std::array<std::once_flag, kCachedHeights.size()> created;
  for (size_t i = 0; i < kCachedHeights.size(); ++i) {
    if (kCachedHeights[i] != height) continue;
    std::call_once(created[i], [i] { fonts[i] = Font(kGothicFace, kCachedHeights[i], FW_NORMAL); });
    return fonts[i];
  }
  return kNoFont;
}

}  // namespace brantel
