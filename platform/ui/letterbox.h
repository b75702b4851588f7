#pragma once
// Where the device screen lies in a larger output (a window or a whole
// display) when it keeps its proportions: centred, as large as fits, with
// black bars on the two other sides. Output coordinates are pixels of the
// output; screen coordinates are the device's.

#include "platform/gfx/geometry.h"

namespace brantel {

// The screen's place in an output of `output_w` x `output_h`.
Rect LetterboxRect(int output_w, int output_h, int screen_w, int screen_h);

// An output point to screen coordinates, keeping fractions (a point on a bar
// lies outside 0..screen size).
void LetterboxToScreen(const Rect& box, int screen_w, int screen_h, double out_x, double out_y, double* x,
                       double* y);

// A screen rectangle to output pixels.
Rect LetterboxFromScreen(const Rect& box, int screen_w, int screen_h, const Rect& screen_rect);

}  // namespace brantel
