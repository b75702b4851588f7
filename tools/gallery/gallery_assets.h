#pragma once
// The pictures the gallery shows. They are made in code and then passed
// through the real encoders and decoders (a PNG star through libpng, an
// animated GIF through giflib), so the gallery shows decoded pictures.

#include <vector>

#include "platform/gfx/surface.h"

namespace brantel::gallery {

struct Assets {
  Surface star_png;               // 40 x 40, soft transparent edges
  std::vector<Surface> gif_frames;  // 30 x 30 loading animation, 8 frames
  Surface checker;                // 16 x 16 two-colour checker with a magenta key
  Surface gradient;               // 8 x 8 colour ramp for stretching
};

// Built once; an empty picture when a decoder failed (the pages show that).
const Assets& GetAssets();

}  // namespace brantel::gallery
