#pragma once
// The viewer's shared fonts: the gothic face at weight 400 in the heights
// the screens and controls draw with (18, 20, 22, 24, 25, 28, 30 and 32).
// Each is created on first use and kept for the life of the process.
// Screens that need other heights (34, 36, 40, 42, 48) make their own Font.

#include "platform/gfx/font.h"

namespace brantel {

// The cached font of `height`; a null Font for a height outside the set.
// Safe from any thread (animation threads draw text too).
const Font& ViewerFont(int height);

}  // namespace brantel
