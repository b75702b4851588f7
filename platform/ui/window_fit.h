#pragma once
// The size of the desktop window at start: the scale the user chose by
// resizing it last time (kept in the registry), else 100 %, made smaller
// when the display's usable area cannot hold it, the proportions kept.

#include <optional>

#include "platform/gfx/geometry.h"

namespace brantel {

inline constexpr char kDisplaySettingsKey[] = "Software\\BRANTEL\\Display";
inline constexpr char kWindowScaleValue[] = "WindowScale";  // REG_DWORD, per mille of the screen

// The largest scale up to `wanted` at which a `screen`-sized picture fits in
// `usable` (its height less `frame_height` for the window's title bar); never
// below 0.25.
double FitWindowScale(Size screen, Size usable, double wanted, int frame_height);

// The scale the user last chose, when one was kept (0.25 to 4).
std::optional<double> RememberedWindowScale();
bool RememberWindowScale(double scale);

}  // namespace brantel
