#pragma once
// How a quote's change value is shown: the up or down sign, the marker text a
// list cell cycles through, and the colour of the row's change.

#include <cstdint>

#include "platform/text.h"

namespace brantel {

inline constexpr uint32_t kChangeColourDown = 0xFF5A00;  // blue (0x00BBGGRR)
inline constexpr uint32_t kChangeColourUp = 0x0000FF;    // red
inline constexpr uint32_t kChangeColourFlat = 0xFFFFFF;  // white

// Reads the leading number of `change`. Falling: sign "▼", marker
// "▼^▼^ ", every "-" removed from `change`. Rising: sign "▲", marker
// "▲^▲^ ", `change` untouched. Zero or no number: empty sign and marker.
// The "^" separates the alternatives a list cell shows in turn.
void FormatChangeMark(WideText& change, WideText& sign, WideText& marker, uint32_t& colour);

}  // namespace brantel
