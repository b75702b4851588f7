#pragma once
// StockUpdater's own pictures (numbers 501 to 510), built into the program
// so that it needs no resource library while it replaces files:
//   501, 502  button face, normal and pressed (108 x 38)
//   503, 504  button face, disabled and selected (108 x 38)
//   505       progress fill, tiled across the filled part (8 x 15)
//   506, 510  progress bar frames (254 x 29): overall and file bar
//   507       panel background (322 x 360), magenta 0xFF00FF outside the panel
//   508, 509  bar labels (78 x 22): "파일" and "전체"
// The bytes are PNG.

#include <cstdint>
#include <span>
#include <vector>

namespace brantel {

// The encoded picture; empty for a number the updater has no picture for.
std::span<const uint8_t> UpdaterPictureBytes(uint32_t number);
// Every number there is a picture for, ascending.
std::vector<uint32_t> UpdaterPictureNumbers();

}  // namespace brantel
